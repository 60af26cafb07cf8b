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

                objectName: "pageLoader"
                anchors.fill: parent
                // In the order of PageNavigation.Page.
                sourceComponent: [focusPage, reviewPage, historyPage, settingsPage][navigation.page]
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

    Component {
        id: focusPage

        FocusPage {
            objectName: "focusPage"
            model: view.model
        }
    }
    Component {
        id: reviewPage

        ReviewPage {
            objectName: "reviewPage"
            model: view.model
        }
    }
    Component {
        id: historyPage

        FocusHistoryView {
            objectName: "historyPage"
            model: view.model
        }
    }
    Component {
        id: settingsPage

        SettingsPage {
            objectName: "settingsPage"
            model: view.model
        }
    }

    // The dialogs and sheets are built on first use.
    LazyPopup {
        needed: view.projectDraft.showing
        sourceComponent: ProjectEditor {
            objectName: "projectEditor"
            draft: view.projectDraft
        }
    }
    LazyPopup {
        needed: view.projectDraft.confirmingDelete !== undefined
        sourceComponent: DeleteProjectDialog {
            model: view.model
            projectDraft: view.projectDraft
        }
    }
    LazyPopup {
        needed: view.model.pendingFinish
        sourceComponent: FinishDialog {
            model: view.model
        }
    }
    LazyPopup {
        needed: view.model.pendingReset
        sourceComponent: ResetDialog {
            model: view.model
        }
    }
    LazyPopup {
        needed: view.model.error !== ""
        sourceComponent: SoundErrorDialog {
            model: view.model
        }
    }
    LazyPopup {
        needed: view.model.pendingRepair
        sourceComponent: RepairSheet {
            model: view.model
        }
    }
    LazyPopup {
        needed: view.model.pendingQuit
        sourceComponent: QuitDialog {
            model: view.model
        }
    }
}
