#include "model/timermodel.h"
#include "platform/filedefaultsstore.h"
#include "platform/storagepaths.h"
#include "platform/wakesignal.h"
#include "records/instant.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmor's Focus"));

    LogindWakeSignal wake;
    TimerServices services;
    services.settings = &FileDefaultsStore::standard();
    services.storageFolder = StoragePaths::storageFolder();
    services.wake = &wake;
    TimerModel model(FileDefaultsStore::standard(), &Instant::currentWallClock, {}, services);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Velmor's Focus"));
    auto *display = new QLabel(model.display());
    display->setAlignment(Qt::AlignCenter);
    QFont font = display->font();
    font.setPointSize(48);
    display->setFont(font);
    auto *startPause = new QPushButton(QStringLiteral("开始"));
    auto *reset = new QPushButton(QStringLiteral("重置"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(startPause);
    buttons->addWidget(reset);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(display);
    layout->addLayout(buttons);

    const auto refresh = [&] {
        display->setText(model.display());
        startPause->setText(model.running() ? QStringLiteral("暂停")
                                            : model.started() ? QStringLiteral("继续")
                                                              : QStringLiteral("开始"));
    };
    QObject::connect(&model, &TimerModel::displayChanged, &window, refresh);
    QObject::connect(&model, &TimerModel::runningChanged, &window, refresh);
    QObject::connect(startPause, &QPushButton::clicked, &model, [&] {
        if (model.running())
            model.pause();
        else
            model.start();
    });
    QObject::connect(reset, &QPushButton::clicked, &model, &TimerModel::reset);

    window.resize(360, 220);
    window.show();
    return app.exec();
}
