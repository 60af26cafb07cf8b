// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import VelmorFocus

// The main window's content: the sidebar, the page region showing exactly one page, and the
// window's dialogs.
Item {
    id: view

    required property TimerModel model
    required property ProjectDraft projectDraft

    PageNavigation {
        id: navigation

        model: view.model
    }
    FocusPageState {
        id: session

        model: view.model
    }

    // Space starts or pauses, unless a text field takes it as typing or a control reached by
    // Tab takes it as a press.
    Shortcut {
        readonly property Item keyboard: view.Window.activeFocusItem

        sequence: "Space"
        enabled: session.startEnabled && !(keyboard && ((keyboard.cursorPosition !== undefined
                                                         && !keyboard.readOnly)
                                                        || keyboard.visualFocus === true))
        onActivated: session.startOrPause()
    }
    Shortcut {
        sequence: StandardKey.Find
        onActivated: {
            navigation.open(PageNavigation.Records);
            pageLoader.item.focusSearch();
        }
    }

    RowLayout {
        anchors.fill: parent
        spacing: 0

        Sidebar {
            objectName: "sidebar"
            Layout.fillHeight: true
            Layout.preferredWidth: Theme.sidebarWidth
            model: view.model
            projectDraft: view.projectDraft
            navigation: navigation
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.fillHeight: true
            color: Theme.canvas

            Loader {
                id: pageLoader

                // Each page is compiled the first time it is shown, not with the window. In the
                // order of PageNavigation.Page.
                readonly property var pages: [["FocusPage.qml", "focusPage"],
                    ["ReviewPage.qml", "reviewPage"], ["FocusHistoryView.qml", "historyPage"],
                    ["SettingsPage.qml", "settingsPage"]]
                readonly property var shown: pages[navigation.page]

                function showPage() {
                    if (!item || item.objectName !== shown[1])
                        setSource(shown[0], {"objectName": shown[1], "model": view.model});
                }

                objectName: "pageLoader"
                anchors.fill: parent
                onShownChanged: showPage()
                Component.onCompleted: showPage()
            }

            Toast {
                objectName: "toast"
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 28
                model: view.model
            }
        }
    }

    // The dialogs and sheets are built on first use.
    LazyPopup {
        needed: view.projectDraft.showing
        popup: "ProjectEditor.qml"
        properties: ({"objectName": "projectEditor", "draft": view.projectDraft})
    }
    LazyPopup {
        needed: view.projectDraft.confirmingDelete !== undefined
        popup: "DeleteProjectDialog.qml"
        properties: ({"model": view.model, "projectDraft": view.projectDraft})
    }
    LazyPopup {
        needed: view.model.pendingFinish
        popup: "FinishDialog.qml"
        properties: ({"model": view.model})
    }
    LazyPopup {
        needed: view.model.pendingReset
        popup: "ResetDialog.qml"
        properties: ({"model": view.model})
    }
    LazyPopup {
        needed: view.model.error !== ""
        popup: "SoundErrorDialog.qml"
        properties: ({"model": view.model})
    }
    LazyPopup {
        needed: view.model.pendingRepair
        popup: "RepairSheet.qml"
        properties: ({"model": view.model})
    }
    LazyPopup {
        needed: view.model.pendingQuit
        popup: "QuitDialog.qml"
        properties: ({"model": view.model})
    }
}
