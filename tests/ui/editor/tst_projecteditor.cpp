// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "pagefixture.h"
#include "projects/projectdraft.h"
#include "projects/projectpalette.h"

#include <QTest>

using namespace Qt::StringLiterals;

class ProjectEditorTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<PageFixture> fixture;
    std::unique_ptr<ProjectDraft> draft;
    QObject *editor = nullptr;

    // The editor on the draft, opened for a new project.
    void showEditor()
    {
        editor =
            fixture->load(u"ProjectEditor.qml"_s, {{u"draft"_s, QVariant::fromValue(draft.get())}});
        QVERIFY(editor);
        draft->prepareNewProject();
        fixture->render();
    }
    QQuickItem *content() const { return editor->property("contentItem").value<QQuickItem *>(); }
    QQuickItem *part(const QString &name) const { return fixture->item(name, content()); }
    bool opened() const { return editor->property("opened").toBool(); }
    QList<QQuickItem *> swatches() const
    {
        return PageFixture::byPosition(fixture->items(u"editorSwatch"_s, content()));
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

    void shouldChooseTheFreeColourWithThePicker()
    {
        showEditor();
        fixture->click(part(u"editorColorWell"_s));
        QQuickItem *field = fixture->item(u"editorColorField"_s);
        QVERIFY(field && field->isVisible());
        // Bottom right of the square: full saturation, brightness almost 0.
        const QPointF corner = field->mapToScene(QPointF(field->width() - 1, field->height() - 10));
        QTest::mouseClick(&fixture->window, Qt::LeftButton, {}, corner.toPoint());
        QCOMPARE(draft->colorIndex(), -1);
        const QColor picked = draft->customColor();
        QVERIFY(picked.isValid() && picked.valueF() < 0.1);
        QCOMPARE(picked.alphaF(), 1.0);

        // A swatch afterwards takes the choice back.
        fixture->press(Qt::Key_Escape);
        QVERIFY(opened());
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
};

QTEST_MAIN(ProjectEditorTest)
#include "tst_projecteditor.moc"
