// A later start hands its files to the running program over a local socket.
#include "app/instance_channel.h"

#include "app/byte_names.h"
#include "support/byte_files.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <future>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Stands in for the main window: records what AddDroppedFiles receives.
class TDropTarget : public QObject {
    Q_OBJECT
  public:
    QList<QStringList> received;
  public slots:
    void AddDroppedFiles(const QStringList& paths) { received << paths; }
};

class InstanceChannelTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    QString name = dir.path() + QStringLiteral("/s");
    TDropTarget target;

    // Sends from another thread (the sender blocks until the receiver confirms) while this one
    // runs the receiver's event loop.
    bool sendFromAnotherStart(const QStringList& files) {
        auto sent =
            std::async(std::launch::async, [this, files] { return TInstanceChannel(name).SendFiles(files); });
        bool done = false;
        [&] {
            QTRY_VERIFY_WITH_TIMEOUT(
                (done = sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready), 20000);
        }();
        return done && sent.get();
    }
};

} // namespace

TEST_F(InstanceChannelTest, FilesReachTheRunningWindow) {
    TInstanceChannel running(name);
    ASSERT_TRUE(running.Listen(&target));
    QSignalSpy spy(&running, &TInstanceChannel::FilesReceived);
    const QStringList files = {QStringLiteral("/media/a b.mp4"), QStringLiteral("/media/Über\nZeile.mkv"),
                               QStringLiteral("/media/c.mp3")};
    ASSERT_TRUE(sendFromAnotherStart(files));
    QTRY_COMPARE_WITH_TIMEOUT(target.received.size(), 1, 5000);
    EXPECT_EQ(target.received.first(), files);
    EXPECT_EQ(spy.count(), 1);

    // A second start, later, is heard as well; a third program cannot take the name away.
    ASSERT_TRUE(sendFromAnotherStart({QStringLiteral("/media/d.wav")}));
    QTRY_COMPARE_WITH_TIMEOUT(target.received.size(), 2, 5000);
    TInstanceChannel third(name);
    EXPECT_FALSE(third.Listen(&target));
    EXPECT_TRUE(running.IsListening());
}

TEST_F(InstanceChannelTest, ANameThatIsNotUtf8ArrivesByItsBytes) {
    // The later start's alias goes with it: it hands over the bytes as a file: URL, and the
    // running program makes an alias of its own.
    const QByteArray real = QFile::encodeName(dir.path()) + "/caf\xE9.ogg";
    ASSERT_TRUE(WriteByteNamedFile(real, {}));
    TInstanceChannel running(name);
    ASSERT_TRUE(running.Listen(&target));
    const QString plain = QStringLiteral("/media/a.mp4");
    ASSERT_TRUE(sendFromAnotherStart(
        {QStringLiteral("file://") + QString::fromLatin1(real.toPercentEncoding("/")), plain}));
    QTRY_COMPARE_WITH_TIMEOUT(target.received.size(), 1, 5000);
    ASSERT_EQ(target.received.first().size(), 2);
    EXPECT_EQ(ByteNames().RealName(target.received.first()[0]), real);
    EXPECT_TRUE(QFileInfo::exists(target.received.first()[0]));
    EXPECT_EQ(target.received.first()[1], plain);
    ::unlink(real.constData());
}

TEST_F(InstanceChannelTest, NothingRunningMeansTheStartOpensItsOwnWindow) {
    EXPECT_FALSE(TInstanceChannel(name).SendFiles({QStringLiteral("/a.mp4")}, 2000));
}

TEST_F(InstanceChannelTest, SocketLeftByACrashedProgramIsReplaced) {
    // A bound socket file nobody listens on, as a killed program leaves it.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = name.toLocal8Bit();
    std::copy(path.begin(), path.end(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);

    TInstanceChannel running(name);
    ASSERT_TRUE(running.Listen(&target));
    ASSERT_TRUE(sendFromAnotherStart({QStringLiteral("/a.mp4")}));
    QTRY_COMPARE_WITH_TIMEOUT(target.received.size(), 1, 5000);
}

TEST_F(InstanceChannelTest, MalformedMessagesAreDropped) {
    TInstanceChannel running(name);
    ASSERT_TRUE(running.Listen(&target));
    const QByteArray tooLarge("\xff\xff\xff\xff", 4);
    const QByteArray notAList = QByteArray("\x00\x00\x00\x02", 4) + QByteArray("\xff\xff", 2);
    for (const QByteArray& message : {tooLarge, notAList}) {
        QLocalSocket socket;
        socket.connectToServer(name);
        ASSERT_TRUE(socket.waitForConnected(5000));
        socket.write(message);
        socket.flush();
        QTRY_VERIFY_WITH_TIMEOUT(socket.state() == QLocalSocket::UnconnectedState, 5000);
    }
    EXPECT_TRUE(target.received.isEmpty());
    // The channel still works.
    ASSERT_TRUE(sendFromAnotherStart({QStringLiteral("/a.mp4")}));
    QTRY_COMPARE_WITH_TIMEOUT(target.received.size(), 1, 5000);
}

TEST(FilesFromArguments, AbsolutePathsOfTheFileArguments) {
    const struct {
        QStringList arguments;
        QStringList files;
    } cases[] = {
        {{QStringLiteral("a.mp4"), QStringLiteral("../b c.mkv"), QStringLiteral("/x/d.mp3")},
         {QStringLiteral("/home/u/a.mp4"), QStringLiteral("/home/b c.mkv"), QStringLiteral("/x/d.mp3")}},
        {{QStringLiteral("-style"), QStringLiteral("file:///m/%C3%9Cber%20a.mp4"), QStringLiteral("")},
         {QStringLiteral("/m/Über a.mp4")}},
        {{QStringLiteral("--"), QStringLiteral("-dash.mp4")}, {QStringLiteral("/home/u/-dash.mp4")}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FilesFromArguments(c.arguments, QStringLiteral("/home/u")), c.files)
            << c.arguments.join(' ').toStdString();
}

#include "instance_channel_test.moc"
