// SPDX-FileCopyrightText: 2026 The Velmor's Focus developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/modelfixture.h"
#include "ui/alert/qmlalertpanels.h"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QStandardPaths>
#include <QTest>

#include <QtQml/qqmlextensionplugin.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <optional>

Q_IMPORT_QML_PLUGIN(VelmorFocusPlugin)

using namespace Qt::StringLiterals;

namespace {

xcb_connection_t *connection()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The first 32-bit value of a property of the window as the X server holds it.
std::optional<uint32_t> cardinal(QWindow *window, const char *name)
{
    xcb_connection_t *c = connection();
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    if (!atom)
        return std::nullopt;
    const auto id = static_cast<xcb_window_t>(window->winId());
    xcb_get_property_reply_t *reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, id, atom->atom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    std::free(atom);
    std::optional<uint32_t> value;
    if (reply && xcb_get_property_value_length(reply) >= 4)
        value = *static_cast<const uint32_t *>(xcb_get_property_value(reply));
    std::free(reply);
    return value;
}

} // namespace

// The alert panels on a real X server: what the window manager is told about them.
class TestAlertPanelsX11 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        if (QGuiApplication::platformName() != u"xcb"_s)
            QSKIP("needs an X server");
    }

    void shouldShowOnEveryWorkspaceAndTakeTheKeyboardOnlyWhenPressed()
    {
        QQmlEngine engine;
        QmlAlertPanels panels(engine);
        ModelFixture f;
        f.services.alertPanels = &panels;
        f.restart();
        panels.setModel(f.model.get());
        f.model->start();
        f.clock.advance(f.model->duration());
        f.model->tick();

        const QList<QQuickWindow *> shown = panels.panels();
        QCOMPARE(shown.size(), 1);
        QQuickWindow *panel = shown.first();
        QVERIFY(QTest::qWaitForWindowExposed(panel));
        // 0xFFFFFFFF: on all desktops.
        QCOMPARE(cardinal(panel, "_NET_WM_DESKTOP"), std::optional<uint32_t>(0xFFFFFFFF));
        QVERIFY(!panel->isActive());

        QTest::mouseClick(panel, Qt::LeftButton, {}, QPoint(12, 12));
        QVERIFY(QTest::qWaitForWindowActive(panel));
        QTest::keyClick(panel, Qt::Key_Return);
        QVERIFY(panels.panels().isEmpty());
        QVERIFY(!f.model->started());
    }
};

QTEST_MAIN(TestAlertPanelsX11)
#include "tst_alertpanels_x11.moc"
