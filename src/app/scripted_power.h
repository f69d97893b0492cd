#pragma once
// A power implementation for tests: records the requests and never touches the machine.
#include "app/power.h"

#include <QList>
#include <QStringList>

class TScriptedPower final : public IPower {
  public:
    QList<TPowerAction> allowed;   // actions reported as allowed
    QList<TPowerAction> checked;   // every Allowed() question, in order
    QList<TPowerAction> performed; // every Perform() request, in order
    int endProgramCalls = 0;
    QStringList inhibitors; // the reason of every inhibitor taken, in order
    bool inhibited = false; // an inhibitor is held now
    // Every request in order: "inhibit", "release", "perform", "end".
    QStringList events;

    // Installs itself as the process-wide power implementation while alive.
    TScriptedPower() { SetPower(this); }
    ~TScriptedPower() override { SetPower(nullptr); }
    TScriptedPower(const TScriptedPower&) = delete;
    TScriptedPower& operator=(const TScriptedPower&) = delete;

    bool Allowed(TPowerAction action) override {
        checked.append(action);
        return allowed.contains(action);
    }
    bool Perform(TPowerAction action) override {
        performed.append(action);
        events << QStringLiteral("perform");
        return true;
    }
    void EndProgram() override {
        ++endProgramCalls;
        events << QStringLiteral("end");
    }
    void TakeInhibitor(const QString& why) override {
        inhibitors << why;
        inhibited = true;
        events << QStringLiteral("inhibit");
    }
    void ReleaseInhibitor() override {
        if (inhibited)
            events << QStringLiteral("release");
        inhibited = false;
    }
};
