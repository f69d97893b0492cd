#pragma once
// Runs one console program as a child process with its standard input, output and error on
// pipes, and hands every block of output and the end of the process to the owner as events.
//
// The owner's thread is the thread that created the TRedirector; it must run an event loop. A
// reader thread watches both output pipes and the child's exit. Every block it reads and the end
// report run on the owner's thread while the reader waits, so events never overlap and arrive in
// the order the bytes were read. Once the child has exited the reader sets ProcessEnded, reads
// what is left in the pipes, and then reports the end: the runner becomes inactive and
// OnTerminated is called. Blocks are passed as read: no terminating zero, no line splitting.
//
// Everything except the events' delivery runs on the owner's thread: settings, Execute,
// Terminate and destruction.
#include "engine/child_process.h"
#include "engine/cmdline.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QObject;
class TRedirector;

using TDataEvent = std::function<void(TRedirector* sender, const char* bytes, int count)>;
using TNotifyEvent = std::function<void(TRedirector* sender)>;

class TRedirector {
  public:
    TRedirector();
    // With a running child: when KillOnDestroy is set the child is stopped as by Terminate,
    // otherwise the child is left running (its output unread). No event is called either way.
    ~TRedirector();
    TRedirector(const TRedirector&) = delete;
    TRedirector& operator=(const TRedirector&) = delete;

    // True from a successful Execute until the end report has run.
    bool Active() const { return m_pid != 0; }
    // Process id of the held child (also its process group); 0 when none.
    pid_t ProcessHandle() const { return m_pid; }
    // ApplicationName + " " + CommandLine when ApplicationName is not empty, else CommandLine.
    QString GetCommandLine() const;
    // Set as soon as the child's exit was seen, before the last output is read; cleared by Execute.
    bool ProcessEnded() const;

    // Settings, which may change only while no child runs.
    const QString& CommandLine() const { return m_commandLine; }
    // Raises "Cannot change Commandline while process is active" unless idle or the text equals
    // GetCommandLine() apart from letter case.
    void SetCommandLine(const QString& commandLine);
    bool DefaultErrorMode() const { return m_defaultErrorMode; }
    // Kept for compatibility of settings; it has no effect on this platform.
    void SetDefaultErrorMode(bool value);
    TProcessPriority InitialPriority() const { return m_initialPriority; }
    void SetInitialPriority(TProcessPriority value);

    // Program file; empty means the first argument of the command line.
    QString ApplicationName;
    // Working folder of the child; empty means ours.
    QString CurrentDirectory;
    // "NAME=value" entries of the child's environment; none means ours.
    std::optional<QStringList> Environment;
    // Show-window value, kept for compatibility of settings; it has no effect on this platform.
    quint16 ShowState = 0;
    bool KillOnDestroy = false;
    TDataEvent OnStdOut;
    TDataEvent OnStdErr;
    TNotifyEvent OnTerminated;

    // Starts the child: CommandLine is split into arguments by SplitCommandLine. Raises
    // "Process is already active", "No commandline to run", one of the pipe messages or
    // "Error creating process : " + errno; after a failure the runner is idle.
    void Execute();
    // Stops the child: SIGTERM, so that it can clean up, then, once it has ended or after a grace
    // of two seconds, SIGKILL to its whole process group. Returns when the child has ended. The
    // end is reported later like any other end. The exit code cannot be imposed on a stopped
    // process: ExitCode() reports what ended it. Raises "Cannot Terminate an inactive process"
    // when no child is held.
    void Terminate(int exitCode);
    // Writes to the child's standard input. Returns false when no child is held or it no longer
    // reads its input (it has closed it or ended).
    bool WriteInput(const char* bytes, int count);

    // Exit status of the last child whose end was reported, valid from OnTerminated on until the
    // next Execute. ExitCode(): the child's exit code when it exited; 128 + the signal number when
    // a signal ended it; -1 before that, or when the status could not be read. So 0 means success
    // and nothing else does.
    int ExitCode() const { return m_exitCode; }
    bool KilledBySignal() const { return m_exitSignal != 0; }
    int ExitSignal() const { return m_exitSignal; }
    // Why the last run ended early on our side ("Error reading STDOUT pipe : 5", or the message
    // of an exception an event handler raised); empty when nothing went wrong. Such a failure
    // kills the child, discards its further output and still reports the end.
    const QString& LastError() const { return m_lastError; }

  private:
    struct TRun;
    friend struct TRun;

    void Deliver(TRun& run, bool stdErr, const char* bytes, int count);
    void ReportEnd(TRun& run);
    void HandlerFailed(TRun& run, const QString& message);
    void StopGroup() const;
    void KillGroup() const;
    void JoinFinishedReader();

    QString m_commandLine;
    bool m_defaultErrorMode = false;
    TProcessPriority m_initialPriority = ppDefault;
    pid_t m_pid = 0;
    int m_exitCode = -1;
    int m_exitSignal = 0;
    QString m_lastError;
    std::unique_ptr<QObject> m_context; // receives the reader's calls on the owner's thread
    std::shared_ptr<TRun> m_run;        // the running or the last child
};
