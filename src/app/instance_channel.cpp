#include "app/instance_channel.h"

#include "app/byte_names.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QUrl>

#include <unistd.h>

namespace {

// A message is a 32-bit big-endian length followed by that many bytes: the file list as
// serialised by QDataStream. The receiver answers one byte when it took the list.
constexpr char Ack = '\x01';
constexpr quint32 MaxMessageSize = 16u * 1024u * 1024u;
constexpr auto StreamVersion = QDataStream::Qt_6_0;
const char* const BufferProperty = "varidBuffer";

QByteArray encode(const QStringList& files) {
    QByteArray payload;
    {
        QDataStream out(&payload, QIODevice::WriteOnly);
        out.setVersion(StreamVersion);
        out << files;
    }
    QByteArray message;
    QDataStream header(&message, QIODevice::WriteOnly);
    header << static_cast<quint32>(payload.size());
    return message + payload;
}

} // namespace

TInstanceChannel::TInstanceChannel(QString serverName, QObject* parent)
    : QObject(parent), m_serverName(std::move(serverName)) {}

TInstanceChannel::~TInstanceChannel() = default;

QString TInstanceChannel::DefaultServerName() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return runtime + QStringLiteral("/varid-converter.socket");
    return QStringLiteral("varid-converter-%1").arg(::getuid());
}

bool TInstanceChannel::SendFiles(const QStringList& files, int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime())))
        return false;
    socket.write(encode(files));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
    }
    return socket.read(1) == QByteArray(1, Ack);
}

bool TInstanceChannel::Listen(QObject* receiver) {
    m_receiver = receiver;
    if (!m_server) {
        m_server = new QLocalServer(this);
        m_server->setSocketOptions(QLocalServer::UserAccessOption);
        connect(m_server, &QLocalServer::newConnection, this, &TInstanceChannel::onNewConnection);
    }
    if (m_server->isListening())
        return true;
    // Listening with access options replaces an existing socket file, so a program that runs
    // already is asked first; a file nobody answers on is left by one that crashed.
    QLocalSocket probe;
    probe.connectToServer(m_serverName);
    if (probe.waitForConnected(1000))
        return false;
    if (m_server->listen(m_serverName))
        return true;
    if (m_server->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    QLocalServer::removeServer(m_serverName);
    return m_server->listen(m_serverName);
}

bool TInstanceChannel::IsListening() const {
    return m_server && m_server->isListening();
}

void TInstanceChannel::onNewConnection() {
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        if (socket->bytesAvailable() > 0)
            onReadyRead(socket);
    }
}

void TInstanceChannel::onReadyRead(QLocalSocket* socket) {
    QByteArray buffer = socket->property(BufferProperty).toByteArray() + socket->readAll();
    socket->setProperty(BufferProperty, buffer);
    if (buffer.size() < 4)
        return;
    quint32 size = 0;
    QDataStream(buffer.left(4)) >> size;
    if (size > MaxMessageSize) {
        socket->abort();
        return;
    }
    if (static_cast<quint64>(buffer.size()) < 4u + size)
        return;
    QStringList files;
    QDataStream in(buffer.mid(4, static_cast<qsizetype>(size)));
    in.setVersion(StreamVersion);
    in >> files;
    socket->setProperty(BufferProperty, QByteArray());
    if (in.status() != QDataStream::Ok) {
        socket->abort();
        return;
    }
    socket->write(QByteArray(1, Ack));
    socket->flush();
    // A name that is not UTF-8 comes as a file: URL with its bytes percent-encoded.
    for (QString& file : files) {
        if (file.startsWith(QStringLiteral("file:")))
            file = LocalPathOfUrl(QUrl(file));
    }
    emit FilesReceived(files);
    if (m_receiver)
        QMetaObject::invokeMethod(m_receiver, "AddDroppedFiles", Qt::QueuedConnection,
                                  Q_ARG(QStringList, files));
}

QStringList FilesFromArguments(const QStringList& arguments, const QString& currentDir) {
    QStringList files;
    bool optionsEnded = false;
    const QDir base(currentDir);
    for (const QString& argument : arguments) {
        if (!optionsEnded && argument == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        if (argument.isEmpty() || (!optionsEnded && argument.startsWith(QLatin1Char('-'))))
            continue;
        QString path = argument;
        if (argument.startsWith(QStringLiteral("file:"))) {
            path = LocalPathOfUrl(QUrl(argument));
            if (path.isEmpty())
                continue;
        }
        files << QDir::cleanPath(base.absoluteFilePath(path));
    }
    return files;
}
