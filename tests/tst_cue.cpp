#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include "multimedia_control.h"
#include "play_cue.h"
#include "recording_device.h"

using namespace buffon;

namespace {

QStringList gWarnings;

void CollectWarnings(QtMsgType type, const QMessageLogContext&, const QString& message)
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
    void playCueSendsFivePutsInOrder();
    void deviceProtocol();
    void cuesAreFoundHereFirstThenBuiltIn();
    void silentCuesWarnOnce();

private:
    QTemporaryDir workDir_;
};

void CueTest::playCueSendsFivePutsInOrder()
{
    RecordingDevice device;
    PlayCue(device, "endpinpon.wav");
    DeviceCuePlayer(device).PlayCue("pinpon.wav");
    QCOMPARE(device.puts,
             (QStringList{"command Stop", "command Close", "file endpinpon.wav", "command Open",
                          "command Sound", "command Stop", "command Close", "file pinpon.wav",
                          "command Open", "command Sound"}));
}

void CueTest::deviceProtocol()
{
    MultimediaControl device;
    device.SetCommand("Stop");  // nothing open yet: harmless
    device.SetCommand("Close");
    QVERIFY(!device.isOpen());
    QVERIFY_THROWS_EXCEPTION(DeviceError, device.SetCommand("Sound"));
    PlayCue(device, "pinpon.wav");
    QVERIFY(device.isOpen());
    device.SetCommand("Close");
    QVERIFY(!device.isOpen());
    try {
        device.SetCommand("Play");
        QFAIL("an unknown command was accepted");
    } catch (const DeviceError& error) {
        QVERIFY(QString::fromUtf8(error.what()).contains("\"Play\""));
    }
}

void CueTest::cuesAreFoundHereFirstThenBuiltIn()
{
    MultimediaControl device;
    for (const QString name : {"pinpon.wav", "endpinpon.wav"}) {
        PlayCue(device, name);
        QCOMPARE(device.openSource(), QUrl("qrc:/cues/" + name));
        QFile cue(":/cues/" + name);
        QVERIFY(cue.open(QIODevice::ReadOnly));
        const QByteArray header = cue.read(36);
        QVERIFY(header.startsWith("RIFF") && header.mid(8, 4) == "WAVE");
        QCOMPARE(qFromLittleEndian<quint16>(header.constData() + 20), quint16(1));   // PCM
        QCOMPARE(qFromLittleEndian<quint16>(header.constData() + 34), quint16(16));  // bits
    }
    QVERIFY(QFile::copy(":/cues/endpinpon.wav", "pinpon.wav"));
    PlayCue(device, "pinpon.wav");
    QCOMPARE(device.openSource(),
             QUrl::fromLocalFile(QDir::current().absoluteFilePath("pinpon.wav")));
    QVERIFY(QFile::remove("pinpon.wav"));
}

void CueTest::silentCuesWarnOnce()
{
    gWarnings.clear();
    qInstallMessageHandler(CollectWarnings);
    {
        MultimediaControl device;
        for (int click = 0; click < 3; ++click) {
            PlayCue(device, "nosuch.wav");
            QVERIFY(device.isOpen() && device.openSource().isEmpty());
            PlayCue(device, "pinpon.wav");
        }
        QTest::qWait(200);
    }
    qInstallMessageHandler(nullptr);
    // One line for the missing file, and at most one more where there is no sound card.
    QCOMPARE(gWarnings.filter("\"nosuch.wav\" not found").size(), 1);
    QVERIFY2(gWarnings.size() <= 2, qPrintable(gWarnings.join('\n')));
}

QTEST_MAIN(CueTest)
#include "tst_cue.moc"
