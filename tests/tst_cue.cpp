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

const QStringList kCuePuts(const QString& name)
{
    return {"command Stop", "command Close", "file " + name, "command Open", "command Sound"};
}

// Runs a piece of a test from inside a fresh, empty working directory.
class InEmptyDirectory {
public:
    InEmptyDirectory() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~InEmptyDirectory() { QDir::setCurrent(previous_); }
    QString path() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString previous_;
};

}  // namespace

class CueTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void playCueSendsFivePutsInOrder_data();
    void playCueSendsFivePutsInOrder();
    void runCueGoesThroughTheSameProtocol();
    void firstStopAndCloseAreHarmless();
    void unknownCommandIsRefused();
    void soundWithNothingOpenIsRefused();
    void builtInCuesAreFound_data();
    void builtInCuesAreFound();
    void fileInWorkingDirectoryComesFirst();
    void missingFileIsSilentAndWarnedOnce();
    void repeatedCuesWarnAtMostOnce();
};

void CueTest::init()
{
    gWarnings.clear();
}

void CueTest::playCueSendsFivePutsInOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("start cue") << "pinpon.wav";
    QTest::newRow("exit cue") << "endpinpon.wav";
}

void CueTest::playCueSendsFivePutsInOrder()
{
    QFETCH(QString, name);
    RecordingDevice device;
    PlayCue(device, name);
    PlayCue(device, name);
    QCOMPARE(device.puts, kCuePuts(name) + kCuePuts(name));
}

void CueTest::runCueGoesThroughTheSameProtocol()
{
    RecordingDevice device;
    DeviceCuePlayer player(device);
    player.PlayCue("pinpon.wav");
    QCOMPARE(device.puts, kCuePuts("pinpon.wav"));
}

void CueTest::firstStopAndCloseAreHarmless()
{
    MultimediaControl device;
    device.SetCommand("Stop");
    device.SetCommand("Close");
    QVERIFY(!device.isOpen());
    PlayCue(device, "pinpon.wav");
    QVERIFY(device.isOpen());
    device.SetCommand("Stop");
    device.SetCommand("Close");
    QVERIFY(!device.isOpen());
}

void CueTest::unknownCommandIsRefused()
{
    MultimediaControl device;
    try {
        device.SetCommand("Play");
        QFAIL("an unknown command was accepted");
    } catch (const DeviceError& error) {
        QVERIFY(QString::fromUtf8(error.what()).contains("\"Play\""));
    }
}

void CueTest::soundWithNothingOpenIsRefused()
{
    MultimediaControl device;
    QVERIFY_THROWS_EXCEPTION(DeviceError, device.SetCommand("Sound"));
    PlayCue(device, "pinpon.wav");
    device.SetCommand("Close");
    QVERIFY_THROWS_EXCEPTION(DeviceError, device.SetCommand("Sound"));
}

void CueTest::builtInCuesAreFound_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("start cue") << "pinpon.wav";
    QTest::newRow("exit cue") << "endpinpon.wav";
}

void CueTest::builtInCuesAreFound()
{
    QFETCH(QString, name);
    InEmptyDirectory empty;
    MultimediaControl device;
    PlayCue(device, name);
    QCOMPARE(device.openSource(), QUrl("qrc:/cues/" + name));
    QFile cue(":/cues/" + name);
    QVERIFY(cue.open(QIODevice::ReadOnly));
    const QByteArray header = cue.read(36);
    QVERIFY(header.startsWith("RIFF") && header.mid(8, 4) == "WAVE");
    QCOMPARE(qFromLittleEndian<quint16>(header.constData() + 20), quint16(1));   // PCM
    QCOMPARE(qFromLittleEndian<quint16>(header.constData() + 34), quint16(16));  // bits
    QVERIFY(gWarnings.filter("not found").isEmpty());
}

void CueTest::fileInWorkingDirectoryComesFirst()
{
    InEmptyDirectory dir;
    QVERIFY(QFile::copy(":/cues/endpinpon.wav", dir.path() + "/pinpon.wav"));
    MultimediaControl device;
    PlayCue(device, "pinpon.wav");
    QCOMPARE(device.openSource(),
             QUrl::fromLocalFile(QDir(dir.path()).absoluteFilePath("pinpon.wav")));
    PlayCue(device, "endpinpon.wav");
    QCOMPARE(device.openSource(), QUrl("qrc:/cues/endpinpon.wav"));
}

void CueTest::missingFileIsSilentAndWarnedOnce()
{
    InEmptyDirectory empty;
    qInstallMessageHandler(CollectWarnings);
    MultimediaControl device;
    for (int click = 0; click < 3; ++click) {
        PlayCue(device, "nosuch.wav");
        QVERIFY(device.isOpen());
        QVERIFY(device.openSource().isEmpty());
    }
    qInstallMessageHandler(nullptr);
    const QStringList missing = gWarnings.filter("nosuch.wav");
    QCOMPARE(missing.size(), 1);
    QVERIFY(missing.first().contains("not found"));
}

void CueTest::repeatedCuesWarnAtMostOnce()
{
    // With no sound card the device says so once; with one it says nothing.
    qInstallMessageHandler(CollectWarnings);
    {
        MultimediaControl device;
        for (int click = 0; click < 5; ++click) {
            PlayCue(device, "pinpon.wav");
            PlayCue(device, "endpinpon.wav");
        }
        QTest::qWait(200);
    }
    qInstallMessageHandler(nullptr);
    QVERIFY2(gWarnings.size() <= 1, qPrintable(gWarnings.join('\n')));
}

QTEST_MAIN(CueTest)
#include "tst_cue.moc"
