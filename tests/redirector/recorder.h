#pragma once
// Runs children of tests/helpers through a TRedirector and records every event it calls.
#include "engine/redirector.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

inline QString TestBin(const char* name) {
    return QStringLiteral(VARID_TESTBIN_DIR "/") + QLatin1String(name);
}

// A command line that runs tests/helpers/scripted_child with the given steps.
inline QString ScriptedChild(const QStringList& steps) {
    QStringList arguments{TestBin("scripted_child")};
    arguments += steps;
    return JoinCommandLine(arguments);
}

// Runs the event loop until done() holds; false after the safety timeout.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 60000) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}

struct TEvent {
    enum Kind { Out, Err, End } kind;
    QByteArray bytes;
    bool processEnded;
    bool active;
};

class TRecorder {
  public:
    TRecorder() : runner(std::make_unique<TRedirector>()) {
        runner->OnStdOut = [this](TRedirector* sender, const char* bytes, int count) {
            Record(TEvent::Out, sender, QByteArray(bytes, count));
            if (onOut)
                onOut(QByteArray(bytes, count));
        };
        runner->OnStdErr = [this](TRedirector* sender, const char* bytes, int count) {
            Record(TEvent::Err, sender, QByteArray(bytes, count));
        };
        runner->OnTerminated = [this](TRedirector* sender) {
            Record(TEvent::End, sender, {});
            exitCode = sender->ExitCode();
            if (onEnd)
                onEnd();
        };
    }

    // Waits for the end event; false after the safety timeout.
    bool WaitForEnd() {
        return WaitUntil([this] { return Count(TEvent::End) > 0; });
    }

    int Count(TEvent::Kind kind) const {
        int n = 0;
        for (const TEvent& e : events)
            n += e.kind == kind ? 1 : 0;
        return n;
    }
    QByteArray Bytes(TEvent::Kind kind) const {
        QByteArray all;
        for (const TEvent& e : events)
            if (e.kind == kind)
                all += e.bytes;
        return all;
    }

    std::unique_ptr<TRedirector> runner;
    std::vector<TEvent> events;
    std::function<void(const QByteArray&)> onOut;
    std::function<void()> onEnd;
    int exitCode = -2;

  private:
    void Record(TEvent::Kind kind, TRedirector* sender, QByteArray bytes) {
        events.push_back({kind, std::move(bytes), sender->ProcessEnded(), sender->Active()});
    }
};
