// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "pagefixture.h"
#include "projects/projectdraft.h"
#include "ui/app/mainwindowkeeper.h"

#include <QQmlComponent>
#include <QTest>

// The main window's content (TimerView) on the real model: the page fixture's doubles, a file
// browser that records what it was asked to open, and the editor's draft.
class WindowFixture : public PageFixture {
public:
    WindowFixture()
    {
        services.fileBrowser = &browser;
        model = std::make_unique<TimerModel>(defaults, clock.clock(), nullptr, services);
        draft = std::make_unique<ProjectDraft>(*model);
        keeper =
            std::make_unique<MainWindowKeeper>(*model, trayHost, defaults, [this] { ++quits; });
    }
    ~WindowFixture()
    {
        // The views go first, while the model and the draft they show still exist.
        mainWindow.reset();
        qDeleteAll(std::exchange(m_loaded, {}));
    }

    // The application's own main window (Main.qml) on the model, placed and followed by the
    // keeper as the application does; quitting only counts in `quits`.
    QQuickWindow *openMainWindow()
    {
        const QRect frame = keeper->initialFrame();
        QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/VelmorFocus/Main.qml")));
        mainWindow.reset(component.createWithInitialProperties(
            {{QStringLiteral("model"), QVariant::fromValue(model.get())},
                {QStringLiteral("projectDraft"), QVariant::fromValue(draft.get())},
                {QStringLiteral("keeper"), QVariant::fromValue(keeper.get())},
                {QStringLiteral("x"), frame.x()}, {QStringLiteral("y"), frame.y()},
                {QStringLiteral("width"), frame.width()},
                {QStringLiteral("height"), frame.height()}}));
        auto *window = qobject_cast<QQuickWindow *>(mainWindow.get());
        if (!window) {
            qWarning() << component.errors();
            return nullptr;
        }
        keeper->keep(window);
        window->requestActivate();
        if (!QTest::qWaitForWindowExposed(window))
            qWarning("The main window was not exposed.");
        window->grabWindow();
        return window;
    }

    bool show()
    {
        view = qobject_cast<QQuickItem *>(load(QStringLiteral("TimerView.qml"),
            {{QStringLiteral("model"), QVariant::fromValue(model.get())},
                {QStringLiteral("projectDraft"), QVariant::fromValue(draft.get())}}));
        return view != nullptr;
    }

    // Types plain ASCII text into the focused field.
    void type(const QString &text)
    {
        for (const QChar c : text)
            QTest::keyClick(&window, c.toLatin1());
        render();
    }

    // A popup of the view (dialogs and menus are not visual children of their owners).
    QObject *popup(const QString &name, QObject *root = nullptr) const
    {
        return (root ? root : view)->findChild<QObject *>(name);
    }
    bool opened(const QString &name) const
    {
        const QObject *dialog = popup(name);
        return dialog && dialog->property("opened").toBool();
    }
    // The button of that objectName inside an open dialog.
    QQuickItem *dialogButton(const QString &dialog, const QString &button) const
    {
        QObject *popupObject = popup(dialog);
        auto *content =
            popupObject ? popupObject->property("contentItem").value<QQuickItem *>() : nullptr;
        return content ? item(button, content) : nullptr;
    }

    // A control shows that it has the keyboard: a text field by its caret and border, any other
    // control by its focus ring.
    static bool showsFocus(QQuickItem *control)
    {
        if (control->property("cursorPosition").isValid())
            return true;
        const std::function<bool(QQuickItem *)> ringIn = [&](QQuickItem *item) {
            if (item->objectName() == QStringLiteral("focusFrame") && item->isVisible())
                return true;
            const QList<QQuickItem *> children = item->childItems();
            return std::any_of(children.cbegin(), children.cend(), ringIn);
        };
        return ringIn(control);
    }

    // Runs a fresh session for that many seconds and leaves it running.
    void runFor(double seconds)
    {
        model->start();
        clock.advance(seconds);
        model->tick();
        render();
    }

    RecordingFileBrowser browser;
    FakeTrayHost trayHost;
    int quits = 0;
    std::unique_ptr<ProjectDraft> draft;
    std::unique_ptr<MainWindowKeeper> keeper;
    std::unique_ptr<QObject> mainWindow;
    QQuickItem *view = nullptr;
};

inline QString textOf(const QObject *object)
{
    return object ? object->property("text").toString() : QStringLiteral("<missing>");
}
