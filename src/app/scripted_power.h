#pragma once
// A power implementation for tests: records the requests and never touches the machine.
#include "app/power.h"

#include <QList>

class TScriptedPower final : public IPower {
  public:
    QList<TPowerAction> allowed;   // actions reported as allowed
    QList<TPowerAction> checked;   // every Allowed() question, in order
    QList<TPowerAction> performed; // every Perform() request, in order
    int endProgramCalls = 0;

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
        return true;
    }
    void EndProgram() override { ++endProgramCalls; }
};
