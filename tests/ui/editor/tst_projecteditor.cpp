// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagefixture.h"
#include "projects/projectdraft.h"
#include "projects/projectpalette.h"
#include "windowfixture.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString textOf(const QQuickItem *item)
{
    return item ? item->property("text").toString() : u"<missing>"_s;
}

} // namespace

class ProjectEditorTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PageFixture> fixture;
    std::unique_ptr<ProjectDraft> draft;
    QObject *editor = nullptr;

    void showEditor()
    {
        editor =
            fixture->load(u"ProjectEditor.qml"_s, {{u"draft"_s, QVariant::fromValue(draft.get())}});
        QVERIFY(editor);
    }
    QQuickItem *content() const { return editor->property("contentItem").value<QQuickItem *>(); }
    QQuickItem *part(const QString &name) const { return fixture->item(name, content()); }
    bool opened() const { return editor->property("opened").toBool(); }
    QList<QQuickItem *> swatches() const
    {
        return PageFixture::byPosition(fixture->items(u"editorSwatch"_s, content()));
    }
    int ringedSwatch() const
    {
        const QList<QQuickItem *> all = swatches();
        int ringed = -1;
        for (int i = 0; i < all.size(); ++i) {
            if (fixture->item(u"editorSwatchRing"_s, all.at(i))->isVisible())
                ringed = ringed == -1 ? i : -2;
        }
        return ringed;
    }
    void typeName(const QString &text)
    {
        part(u"editorName"_s)->forceActiveFocus();
        for (const QChar character : text)
            QTest::sendKeyEvent(QTest::Click, &fixture->window, Qt::Key_unknown, QString(character),
                Qt::NoModifier);
        fixture->render();
    }

private Q_SLOTS:
    void initTestCase() { PageFixture::useSoftwareRendering(); }
    void init()
    {
        fixture = std::make_unique<PageFixture>();
        draft = std::make_unique<ProjectDraft>(*fixture->model);
    }
    void cleanup()
    {
        editor = nullptr;
        fixture.reset();
        draft.reset();
    }

    void shouldRingEveryControlOfTheSheetInReadingOrder()
    {
        showEditor();
        draft->prepareNewProject();
        fixture->render();
        part(u"editorName"_s)->forceActiveFocus();
        QList<QQuickItem *> chain {fixture->window.activeFocusItem()};
        for (int step = 0; step < 60; ++step) {
            fixture->press(Qt::Key_Tab);
            QQuickItem *focused = fixture->window.activeFocusItem();
            if (chain.contains(focused))
                break;
            chain.append(focused);
        }
        // The name, the sixteen colours, the free colour, cancel and confirm (disabled while
        // the name is empty).
        QCOMPARE(chain.size(), 1 + 16 + 1 + 1);
        for (qsizetype i = 0; i < chain.size(); ++i) {
            QQuickItem *control = chain.at(i);
            control->forceActiveFocus(Qt::TabFocusReason);
            fixture->render();
            QVERIFY2(WindowFixture::showsFocus(control), qPrintable(control->objectName()));
            if (i == 0)
                continue;
            const QRectF here = PageFixture::sceneRect(control);
            const QRectF before = PageFixture::sceneRect(chain.at(i - 1));
            const bool sameRow = here.top() < before.bottom() && before.top() < here.bottom();
            QVERIFY2(
                sameRow ? here.left() >= before.right() - 1 : here.top() >= before.bottom() - 1,
                qPrintable(control->objectName()));
        }
        QCOMPARE(chain.at(1)->objectName(), u"editorSwatch"_s);
    }

    void shouldOpenAndCloseWithTheDraft()
    {
        showEditor();
        QVERIFY(!opened());
        draft->prepareNewProject();
        fixture->render();
        QVERIFY(opened());
        draft->closeProjectEditor();
        fixture->render();
        QVERIFY(!opened());
    }

    void shouldShowEachModeAsItIs_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("confirm");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("palette");

        QTest::newRow("new project") << 0 << u"新建项目"_s << u"创建"_s << QString() << true;
        QTest::newRow("edit project") << 1 << u"编辑项目"_s << u"保存"_s << u"工作"_s << true;
        QTest::newRow("new subproject") << 2 << u"新建项目"_s << u"创建"_s << QString() << false;
        QTest::newRow("edit subproject") << 3 << u"编辑项目"_s << u"保存"_s << u"阅读"_s << false;
    }
    void shouldShowEachModeAsItIs()
    {
        QFETCH(int, mode);
        QFETCH(QString, title);
        QFETCH(QString, confirm);
        QFETCH(QString, name);
        QFETCH(bool, palette);

        fixture->model->addSubproject(u"阅读"_s, u"学习"_s);
        showEditor();
        switch (mode) {
        case 0:
            draft->prepareNewProject();
            break;
        case 1:
            draft->prepareEditProject(u"工作"_s);
            break;
        case 2:
            draft->prepareNewSubproject(u"学习"_s);
            break;
        default:
            draft->prepareEditSubproject(u"学习"_s, u"阅读"_s);
            break;
        }
        fixture->render();

        QVERIFY(opened());
        QCOMPARE(textOf(part(u"editorTitle"_s)), title);
        QCOMPARE(textOf(part(u"editorConfirm"_s)), confirm);
        QCOMPARE(textOf(part(u"editorCancel"_s)), u"取消"_s);
        QCOMPARE(textOf(part(u"editorName"_s)), name);
        QCOMPARE(part(u"editorName"_s)->property("placeholderText").toString(), u"项目名称"_s);
        QCOMPARE(part(u"editorPalette"_s)->isVisible(), palette);
        QCOMPARE(part(u"editorCustomRow"_s)->isVisible(), palette);
        QCOMPARE(swatches().size(), palette ? ProjectPalette::size : 0);
    }

    void shouldLayOutThePaletteInEightColumns()
    {
        showEditor();
        draft->prepareNewProject();
        fixture->render();

        const QList<QQuickItem *> all = swatches();
        QCOMPARE(all.size(), 16);
        QCOMPARE(content()->width(), 360.0);
        const QRectF first = PageFixture::sceneRect(all.at(0));
        QCOMPARE(first.width(), 30.0);
        QCOMPARE(PageFixture::sceneRect(all.at(1)).left() - first.right(), 13.0);
        QCOMPARE(PageFixture::sceneRect(all.at(7)).top(), first.top());
        QCOMPARE(PageFixture::sceneRect(all.at(8)).left(), first.left());
        QCOMPARE(PageFixture::sceneRect(all.at(8)).top() - first.bottom(), 14.0);
        for (int i = 0; i < all.size(); ++i) {
            QCOMPARE(all.at(i)->property("colorName").toString(), ProjectPalette::name(i));
            QCOMPARE(all.at(i)->property("swatchColor").value<QColor>(), ProjectPalette::color(i));
        }
        QCOMPARE(all.at(0)->property("colorName").toString(), u"蓝色"_s);
    }

    void shouldMarkSwatchZeroForANewProjectAfterAnEdit()
    {
        fixture->model->renameProject(u"工作"_s, u"工作"_s, 5);
        showEditor();
        draft->prepareEditProject(u"工作"_s);
        fixture->render();
        QCOMPARE(ringedSwatch(), 5);

        draft->closeProjectEditor();
        draft->prepareNewProject();
        fixture->render();
        QCOMPARE(textOf(part(u"editorName"_s)), QString());
        QCOMPARE(ringedSwatch(), 0);
        QCOMPARE(
            part(u"editorPreview"_s)->property("color").value<QColor>(), ProjectPalette::color(0));
    }

    void shouldChooseTheSwatchThatIsPressed()
    {
        showEditor();
        draft->prepareNewProject();
        fixture->render();

        fixture->click(swatches().at(11));
        QCOMPARE(draft->colorIndex(), 11);
        QCOMPARE(ringedSwatch(), 11);
        QCOMPARE(
            part(u"editorPreview"_s)->property("color").value<QColor>(), ProjectPalette::color(11));
    }

    void shouldChooseTheFreeColourWithThePicker()
    {
        showEditor();
        draft->prepareNewProject();
        fixture->render();
        fixture->click(swatches().at(3));

        fixture->click(part(u"editorColorWell"_s));
        QQuickItem *field = fixture->item(u"editorColorField"_s);
        QVERIFY(field);
        QVERIFY(field->isVisible());
        // Bottom right of the square: full saturation, brightness almost 0.
        const QPointF corner = field->mapToScene(QPointF(field->width() - 1, field->height() - 10));
        QTest::mouseClick(&fixture->window, Qt::LeftButton, {}, corner.toPoint());
        fixture->render();

        QCOMPARE(draft->colorIndex(), -1);
        QCOMPARE(ringedSwatch(), -1);
        const QColor picked = draft->customColor();
        QVERIFY(picked.isValid());
        QCOMPARE(picked.alphaF(), 1.0);
        QVERIFY(picked.valueF() < 0.1);
        QCOMPARE(part(u"editorPreview"_s)->property("color").value<QColor>(), picked);

        // A swatch afterwards takes the choice back.
        fixture->press(Qt::Key_Escape);
        QVERIFY(opened());
        QVERIFY(!field->isVisible());
        fixture->click(swatches().at(2));
        QCOMPARE(draft->colorIndex(), 2);
    }

    void shouldKeepConfirmDisabledForBlankNames()
    {
        showEditor();
        draft->prepareNewProject();
        fixture->render();
        QQuickItem *confirm = part(u"editorConfirm"_s);
        QVERIFY(!confirm->isEnabled());

        typeName(u"   "_s);
        QCOMPARE(draft->name(), u"   "_s);
        QVERIFY(!confirm->isEnabled());
        fixture->press(Qt::Key_Return);
        QVERIFY(opened());
        QCOMPARE(fixture->model->projects().size(), 3);

        typeName(u"写作 "_s);
        QVERIFY(confirm->isEnabled());
    }

    void shouldCreateTheTypedProjectWithReturn()
    {
        showEditor();
        draft->prepareNewProject();
        fixture->render();
        fixture->click(swatches().at(4));
        typeName(u"  阅读  "_s);

        fixture->press(Qt::Key_Return);
        QVERIFY(!opened());
        QVERIFY(!draft->showing());
        QVERIFY(fixture->model->projects().contains(u"阅读"_s));
        QCOMPARE(fixture->model->selectedProject(), u"阅读"_s);
        QCOMPARE(fixture->model->projectColor(u"阅读"_s), ProjectPalette::color(4));
    }

    void shouldSaveWithTheConfirmButton()
    {
        showEditor();
        draft->prepareEditProject(u"工作"_s);
        fixture->render();
        typeName(u"副业"_s);
        QCOMPARE(draft->name(), u"工作副业"_s);

        fixture->click(part(u"editorConfirm"_s));
        QVERIFY(!opened());
        QVERIFY(fixture->model->projects().contains(u"工作副业"_s));
        QVERIFY(!fixture->model->projects().contains(u"工作"_s));
    }

    void shouldCancelWithEscapeOrTheButton_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Escape") << true;
        QTest::newRow("取消") << false;
    }
    void shouldCancelWithEscapeOrTheButton()
    {
        QFETCH(bool, escape);

        showEditor();
        draft->prepareNewSubproject(u"学习"_s);
        fixture->render();
        typeName(u"阅读"_s);
        if (escape)
            fixture->press(Qt::Key_Escape);
        else
            fixture->click(part(u"editorCancel"_s));

        QVERIFY(!opened());
        QVERIFY(!draft->showing());
        QVERIFY(!draft->editingProject());
        QVERIFY(fixture->model->subprojectsFor(u"学习"_s).isEmpty());
    }

    void shouldClearOnlyShowingWhenDismissedFromOutside()
    {
        showEditor();
        draft->prepareEditProject(u"工作"_s);
        fixture->render();

        QTest::mouseClick(&fixture->window, Qt::LeftButton, {}, QPoint(5, 5));
        fixture->render();
        QVERIFY(!opened());
        QVERIFY(!draft->showing());
        QCOMPARE(draft->editingProject(), std::optional<QString>(u"工作"_s));
        QVERIFY(fixture->model->projects().contains(u"工作"_s));

        // It opens again with the next entry point.
        draft->prepareNewProject();
        fixture->render();
        QVERIFY(opened());
    }

    void shouldOpenWhenCreatedForAShowingDraft()
    {
        draft->prepareNewProject();
        showEditor();
        QVERIFY(opened());
        QVERIFY(part(u"editorName"_s)->hasActiveFocus());
    }
};

QTEST_MAIN(ProjectEditorTest)
#include "tst_projecteditor.moc"
