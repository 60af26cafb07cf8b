#pragma once

#include "pagefixture.h"
#include "projects/projectdraft.h"

#include <QTest>

// The main window's content (TimerView) on the real model: the page fixture's doubles, a file
// browser that records what it was asked to open, and the editor's draft.
class WindowFixture {
public:
    explicit WindowFixture(FileWriter *writer = nullptr)
    {
        page = std::make_unique<PageFixture>();
        page->services.fileBrowser = &browser;
        page->services.fileWriter = writer;
        page->model = std::make_unique<TimerModel>(
            page->defaults, page->clock.clock(), nullptr, page->services);
        draft = std::make_unique<ProjectDraft>(*page->model);
    }
    ~WindowFixture()
    {
        // The view goes first, while the model and the draft it shows still exist.
        page.reset();
    }

    bool show()
    {
        view = qobject_cast<QQuickItem *>(page->load(QStringLiteral("TimerView.qml"),
            {{QStringLiteral("model"), QVariant::fromValue(page->model.get())},
                {QStringLiteral("projectDraft"), QVariant::fromValue(draft.get())}}));
        return view != nullptr;
    }

    TimerModel &model() const { return *page->model; }
    FakeClock &clock() const { return page->clock; }
    void render() const { page->render(); }
    QQuickItem *item(const QString &name, QQuickItem *root = nullptr) const
    {
        return page->item(name, root);
    }
    void click(QQuickItem *item) const { page->click(item); }
    void press(Qt::Key key) const { page->press(key); }
    // Types plain ASCII text into the focused field.
    void type(const QString &text) const
    {
        for (const QChar c : text)
            QTest::keyClick(&page->window, c.toLatin1());
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
        return content ? page->item(button, content) : nullptr;
    }

    // Runs a fresh session for that many seconds and leaves it running.
    void runFor(double seconds) const
    {
        model().start();
        page->clock.advance(seconds);
        model().tick();
        render();
    }

    RecordingFileBrowser browser;
    std::unique_ptr<ProjectDraft> draft;
    std::unique_ptr<PageFixture> page;
    QQuickItem *view = nullptr;
};

inline QString textOf(const QObject *object)
{
    return object ? object->property("text").toString() : QStringLiteral("<missing>");
}
