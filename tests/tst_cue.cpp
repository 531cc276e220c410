// SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
// SPDX-License-Identifier: MIT

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "sound/device_control.h"
#include "sound/multimedia_control.h"

using namespace buffon;

namespace {

QStringList gWarnings;

void collectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("buffon-needle:"))) {
        gWarnings << message;
    }
}

}  // namespace

class CueTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QDir::setCurrent(workDir_.path()); }
    void deviceAcceptsOnlyASoundOfAnOpenFile()
    {
        MultimediaControl device;
        device.setCommand(DeviceCommand::Stop);  // nothing open yet: harmless
        device.setCommand(DeviceCommand::Close);
        QVERIFY(!device.isOpen());
        QVERIFY_THROWS_EXCEPTION(DeviceError, device.setCommand(DeviceCommand::Sound));
        playCue(device, "pinpon.wav");
        QVERIFY(device.isOpen());
        device.setCommand(DeviceCommand::Close);
        QVERIFY(!device.isOpen());
        QVERIFY_THROWS_EXCEPTION(DeviceError, device.setCommand(DeviceCommand::Sound));
    }

    void silentCuesWarnOnce_data()
    {
        QTest::addColumn<QByteArray>("contents");  // of the file the cue names; null: none
        QTest::addColumn<QString>("warning");
        QTest::newRow("no such file") << QByteArray() << "sound cue \"cue.wav\" not found";
        QTest::newRow("empty file") << QByteArray("") << "cue.wav is not a wave file";
        QTest::newRow("text") << QByteArray("RIFF, but no wave") << "cue.wav is not a wave file";
        QTest::newRow("floating-point samples")
            << QByteArray(
                   "RIFF\x2c\0\0\0WAVEfmt "
                   "\x10\0\0\0\3\0\1\0\0\0\0\0\0\0\0\0\4\0\x20\0data\4\0\0\0\0\0\0\0",
                   48)
            << "cue.wav is not a wave file";
        QTest::newRow("no samples") << QByteArray("RIFF\x24\0\0\0WAVEfmt \x10\0\0\0\1\0\1\0", 24)
                                    << "cue.wav is not a wave file";
        QFile whole(":/cues/endpinpon.wav");
        QVERIFY(whole.open(QIODevice::ReadOnly));
        QTest::newRow("cut short") << whole.readAll().left(50000) << "cue.wav is not a wave file";
        QTest::newRow("65,535 channels")
            << QByteArray(
                   "RIFF\x28\0\0\0WAVEfmt \x10\0\0\0\1\0\xff\xff\x22\x56\0\0"
                   "\x22\x56\0\0\xfe\xff\x10\0data\4\0\0\0\0\0\0\0",
                   48)
            << "cue.wav is not a wave file";
    }

    void silentCuesWarnOnce()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, warning);
        QFile file("cue.wav");
        QVERIFY(contents.isNull() ||
                (file.open(QIODevice::WriteOnly) && file.write(contents) >= 0));
        file.close();
        gWarnings.clear();
        qInstallMessageHandler(collectWarnings);
        {
            MultimediaControl device;
            for (int click = 0; click < 3; ++click) {
                playCue(device, "cue.wav");
                QVERIFY(device.isOpen() && device.openSource().isEmpty());
                playCue(device, "pinpon.wav");
            }
            QTest::qWait(100);
        }
        qInstallMessageHandler(nullptr);
        file.remove();
        // One line for the file, and at most one more where there is no sound card.
        QCOMPARE(gWarnings.filter(warning).size(), 1);
        QVERIFY2(gWarnings.size() <= 2, qPrintable(gWarnings.join('\n')));
    }

private:
    QTemporaryDir workDir_;
};

QTEST_MAIN(CueTest)
#include "tst_cue.moc"
