#pragma once
// What the batch driver needs of the process that runs the engine. Production runs the engine
// through the redirected child process; tests replay recorded engine output from a script.
#include <QString>

#include <cstdint>
#include <functional>

enum class TEnginePriority { Idle, Normal, High, RealTime };

class IEngineRunner {
  public:
    using OutputHandler = std::function<void(const char* bytes, int64_t count)>;
    using EndHandler = std::function<void()>;

    virtual ~IEngineRunner() = default;

    // Handlers for both output pipes and for the end of the engine (called once its output is
    // drained, with Active() already false). An empty handler is skipped.
    virtual void SetHandlers(OutputHandler onOutput, EndHandler onTerminated) = 0;
    // Forgets the end handler of the running engine: its end then books nothing.
    virtual void DetachTermination() = 0;
    virtual void SetPriority(TEnginePriority priority) = 0;
    virtual void SetCommandLine(const QString& commandLine) = 0;
    virtual QString GetCommandLine() const = 0;
    // The output the user agreed to replace, or "" for none: the next engine replaces that file
    // also where its options carry no overwrite flag (the disc presets).
    virtual void SetConfirmedReplacement(const QString& output) = 0;
    // Starts the engine; throws EVaridError with the failure's text when it cannot start.
    virtual void Execute() = 0;

    // Whether the engine can be started ahead of its turn: it then reads its source while the
    // previous file converts, writes and says nothing, and converts only once told to go.
    virtual bool CanStandBy() const { return false; }
    // Starts the engine ahead of its turn; it ends without a trace when stopped or forgotten
    // before Go. The confirmed replacement is not passed: Go says it. Throws as Execute. A runner
    // that cannot stand by starts nothing.
    virtual void ExecuteStandingBy() {}
    // Lets an engine started ahead of its turn convert, replacing an existing output only when
    // replaceOutput says the user agreed to. False when it no longer waits (it ended).
    virtual bool Go(bool replaceOutput) {
        (void)replaceOutput;
        return false;
    }
    virtual bool Active() const = 0;
    // Whether the engine has exited and its last output is being drained.
    virtual bool ProcessEnded() const = 0;
    virtual void Terminate(int exitCode) = 0;
    // The exit status of the engine that ended last (valid in the end handler).
    virtual int ExitCode() const = 0;
};
