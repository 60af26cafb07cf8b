// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagefixture.h"
#include "projects/projectdraft.h"
#include "projects/projectpalette.h"
#include "windowfixture.h"

#include <QTest>

using namespace Qt::StringLiterals;

class ProjectEditorTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PageFixture> fixture;
    std::unique_ptr<ProjectDraft> draft;
    QObject *editor = nullptr;

    // The editor on the draft, opened for a new project unless told otherwise.
    void showEditor(bool newProject = true)
    {
        editor =
            fixture->load(u"ProjectEditor.qml"_s, {{u"draft"_s, QVariant::fromValue(draft.get())}});
        QVERIFY(editor);
        if (newProject)
            draft->prepareNewProject();
        fixture->render();
    }
    QQuickItem *content() const { return editor->property("contentItem").value<QQuickItem *>(); }
    QQuickItem *part(const QString &name) const { return fixture->item(name, content()); }
    bool opened() const { return editor->property("opened").toBool(); }
    QColor preview() const { return part(u"editorPreview"_s)->property("color").value<QColor>(); }
    QList<QQuickItem *> swatches() const
    {
        return PageFixture::byPosition(fixture->items(u"editorSwatch"_s, content()));
    }
    // The one swatch with a ring: -1 for none, -2 for several.
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
        QCOMPARE(chain.at(1)->objectName(), u"editorSwatch"_s);
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
    }

    void shouldChooseTheFreeColourWithThePicker()
    {
        showEditor();
        fixture->click(swatches().at(3));
        fixture->click(part(u"editorColorWell"_s));
        QQuickItem *field = fixture->item(u"editorColorField"_s);
        QVERIFY(field && field->isVisible());
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
        QCOMPARE(preview(), picked);

        // A swatch afterwards takes the choice back.
        fixture->press(Qt::Key_Escape);
        QVERIFY(opened());
        QVERIFY(!field->isVisible());
        fixture->click(swatches().at(2));
        QCOMPARE(draft->colorIndex(), 2);
    }

    void shouldCloseAsAskedAndCreateOnlyOnConfirm_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("created");

        QTest::newRow("Return") << int(Qt::Key_Return) << QString() << true;
        QTest::newRow("创建") << 0 << u"editorConfirm"_s << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << QString() << false;
        QTest::newRow("取消") << 0 << u"editorCancel"_s << false;
    }
    void shouldCloseAsAskedAndCreateOnlyOnConfirm()
    {
        QFETCH(int, key);
        QFETCH(QString, button);
        QFETCH(bool, created);

        showEditor();
        fixture->click(swatches().at(4));
        QCOMPARE(ringedSwatch(), 4);
        QCOMPARE(preview(), ProjectPalette::color(4));
        typeName(u"  阅读  "_s);
        if (key)
            fixture->press(Qt::Key(key));
        else
            fixture->click(part(button));

        QVERIFY(!opened());
        QVERIFY(!draft->showing());
        QCOMPARE(fixture->model->projects().contains(u"阅读"_s), created);
        if (created)
            QCOMPARE(fixture->model->projectColor(u"阅读"_s), ProjectPalette::color(4));
    }

    void shouldClearOnlyShowingWhenDismissedFromOutside()
    {
        showEditor(false);
        draft->prepareEditProject(u"工作"_s);
        fixture->render();
        QVERIFY(opened());
        QTest::mouseClick(&fixture->window, Qt::LeftButton, {}, QPoint(5, 5));
        fixture->render();
        QVERIFY(!opened());
        // The draft keeps what it edits; it opens again with the next entry point.
        QVERIFY(!draft->showing());
        QCOMPARE(draft->editingProject(), std::optional<QString>(u"工作"_s));
        draft->prepareNewProject();
        fixture->render();
        QVERIFY(opened());
    }

    void shouldOpenWhenCreatedForAShowingDraft()
    {
        draft->prepareNewProject();
        showEditor(false);
        QVERIFY(opened());
        QVERIFY(part(u"editorName"_s)->hasActiveFocus());
    }
};

QTEST_MAIN(ProjectEditorTest)
#include "tst_projecteditor.moc"
