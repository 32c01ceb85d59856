#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstring>
#include <thread>

#include "app/InstanceChannel.h"
#include "support/TestSupport.h"

namespace {

// A client that connects by hand, as a stray program might; -1 when it cannot.
int ConnectRaw(const QString& dir) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(CInstanceChannel::SocketPath(dir));
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) return fd;
    if (fd >= 0) ::close(fd);
    return -1;
}

// Writes raw bytes and hangs up.
void SendRaw(const QString& dir, const QByteArray& bytes) {
    const int fd = ConnectRaw(dir);
    ASSERT_GE(fd, 0);
    if (!bytes.isEmpty()) {
        EXPECT_EQ(::send(fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL), bytes.size());
    }
    ::close(fd);
}

TEST(InstanceChannel, PathsArriveAbsoluteAndInOrder) {
    QTemporaryDir dir;
    CInstanceChannel channel;
    ASSERT_TRUE(channel.Listen(dir.path()));
    // Only the owner may reach the socket, whatever the folder allows.
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(CInstanceChannel::SocketPath(dir.path())).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0077, 0u);

    const QString relative = QStringLiteral("some folder/ЗАПИСЬ 1.RDF");
    ASSERT_TRUE(CInstanceChannel::Send(dir.path(), dir.filePath("a.trv730"), 1000));
    ASSERT_TRUE(CInstanceChannel::Send(dir.path(), relative, 1000));
    EXPECT_EQ(channel.Receive(1000),
              QStringList({dir.filePath("a.trv730"), QFileInfo(relative).absoluteFilePath()}));
    EXPECT_TRUE(channel.Receive(0).isEmpty());
}

TEST(InstanceChannel, MalformedMessagesAreDroppedAndTheNextOneStillArrives) {
    QTemporaryDir dir;
    CInstanceChannel channel;
    ASSERT_TRUE(channel.Listen(dir.path()));
    SendRaw(dir.path(), "/no/line/feed");           // closed before its end
    SendRaw(dir.path(), "relative/path\n");         // not absolute
    SendRaw(dir.path(), QByteArray("/a\0b\n", 5));  // a NUL inside
    SendRaw(dir.path(), "\n");                      // empty
    SendRaw(dir.path(), QByteArray(CInstanceChannel::kMaxMessageBytes + 10, '/') + '\n');  // too long
    SendRaw(dir.path(), "/good.RDF\n");
    EXPECT_EQ(channel.Receive(1000), QStringList({"/good.RDF"}));
}

TEST(InstanceChannel, AClientThatSaysNothingCannotStallTheProgram) {
    QTemporaryDir dir;
    CInstanceChannel channel;
    ASSERT_TRUE(channel.Listen(dir.path()));
    const int silent = ConnectRaw(dir.path());
    ASSERT_GE(silent, 0);
    ASSERT_TRUE(CInstanceChannel::Send(dir.path(), "/after.RDF", 1000));
    // The silent client is given up after its read time; the one behind it still gets through.
    EXPECT_EQ(channel.Receive(1000), QStringList({"/after.RDF"}));
    ::close(silent);
}

TEST(InstanceChannel, SendingWaitsForAnInstanceThatIsStillStarting) {
    QTemporaryDir dir;
    EXPECT_FALSE(CInstanceChannel::Send(dir.path(), "/x.RDF", 0));  // nobody listens

    CInstanceChannel channel;
    std::thread late([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        channel.Listen(dir.path());
    });
    EXPECT_TRUE(CInstanceChannel::Send(dir.path(), "/x.RDF", 5000));
    late.join();
    EXPECT_EQ(channel.Receive(1000), QStringList({"/x.RDF"}));
}

TEST(InstanceChannel, ASocketLeftBehindIsReplacedAndClosingRemovesIt) {
    QTemporaryDir dir;
    const QString socketPath = CInstanceChannel::SocketPath(dir.path());
    ASSERT_TRUE(WriteFileBytes(socketPath, "left by a program that died"));
    {
        CInstanceChannel channel;
        ASSERT_TRUE(channel.Listen(dir.path()));
        ASSERT_TRUE(CInstanceChannel::Send(dir.path(), "/y.RDF", 1000));
        EXPECT_EQ(channel.Receive(1000), QStringList({"/y.RDF"}));
    }
    EXPECT_FALSE(QFileInfo::exists(socketPath));
}

}  // namespace
