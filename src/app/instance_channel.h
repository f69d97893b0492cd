#pragma once
// One window per user: a later start of the program with files hands them to the window that
// already runs, as file managers expect of an "Open with" target, and ends. The running program
// listens on a local socket; a later start connects, sends the file list and waits until the
// running one has taken it.
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

class TInstanceChannel : public QObject {
    Q_OBJECT
  public:
    explicit TInstanceChannel(QString serverName, QObject* parent = nullptr);
    ~TInstanceChannel() override;

    // The current user's socket: in the user's private runtime folder, else named with the
    // user id.
    static QString DefaultServerName();

    // Hands files to the program that listens under the name and waits (up to timeoutMs) until it
    // confirms. False when none listens or it did not confirm.
    bool SendFiles(const QStringList& files, int timeoutMs = 10000) const;

    // Listens for later starts. The files each one hands over (a file: URL as its local path) go
    // to receiver's slot AddDroppedFiles(const QStringList&), called by name (queued) so that any
    // window with that slot can receive them, and are signalled with FilesReceived. False when another
    // program listens already or the socket cannot be made; a socket file left by a program that ended
    // without removing it is replaced.
    bool Listen(QObject* receiver);
    bool IsListening() const;

  signals:
    void FilesReceived(const QStringList& files);

  private:
    void onNewConnection();
    void onReadyRead(QLocalSocket* socket);

    QString m_serverName;
    QLocalServer* m_server = nullptr;
    QPointer<QObject> m_receiver;
};

// The files named on a program's command line as absolute paths: every argument that is not an
// option ("-x"), and after "--" every argument; relative paths are taken from currentDir, file:
// URLs become local paths (a name that is not UTF-8 through its alias, see LocalPathOfUrl).
QStringList FilesFromArguments(const QStringList& arguments, const QString& currentDir);
