#pragma once
// The engine run as a redirected child process: the batch driver's runner in production.
#include "engine/engine_runner.h"
#include "engine/redirector.h"

class TEngineProcess final : public IEngineRunner {
  public:
    // The child is killed when this object goes while it runs.
    TEngineProcess();

    void SetHandlers(OutputHandler onOutput, EndHandler onTerminated) override;
    void DetachTermination() override;
    void SetPriority(TEnginePriority priority) override;
    void SetCommandLine(const QString& commandLine) override { m_redirector.SetCommandLine(commandLine); }
    QString GetCommandLine() const override { return m_redirector.GetCommandLine(); }
    void SetConfirmedReplacement(const QString& output) override;
    void Execute() override;
    bool CanStandBy() const override { return true; }
    void ExecuteStandingBy() override;
    bool Go(bool replaceOutput) override;
    bool Active() const override { return m_redirector.Active(); }
    bool ProcessEnded() const override { return m_redirector.ProcessEnded(); }
    void Terminate(int exitCode) override { m_redirector.Terminate(exitCode); }
    int ExitCode() const override { return m_redirector.ExitCode(); }

  private:
    void execute(bool standingBy);

    TRedirector m_redirector;
    QString m_confirmedReplacement;
};
