#pragma once
// Everything a single install tells the user goes through this interface.
// Each call blocks until the user has closed what it shows.

#include "core/CellDictInfo.h"

class CellDictInstallerUI {
public:
    virtual ~CellDictInstallerUI() = default;

    virtual bool ConfirmInstall(const CellDictInfo& info) = 0;  // true: install
    virtual bool ConfirmOverwrite() = 0;                        // true: overwrite
    virtual void ShowInstallSuccess(const CellDictInfo& info) = 0;
    virtual void ShowInstallFailed() = 0;
    virtual void ShowNoFileSpecified() = 0;
    virtual void ShowFileNotFound() = 0;
    virtual void ShowDictDamaged() = 0;
    virtual void ShowVersionIncompatible() = 0;
    virtual void ShowQuotaExceeded() = 0;
};

// Runs without any window: installs without asking and keeps a current copy.
class SilentUI final : public CellDictInstallerUI {
public:
    static SilentUI& Instance()
    {
        static SilentUI ui;
        return ui;
    }

    bool ConfirmInstall(const CellDictInfo&) override { return true; }
    bool ConfirmOverwrite() override { return false; }
    void ShowInstallSuccess(const CellDictInfo&) override {}
    void ShowInstallFailed() override {}
    void ShowNoFileSpecified() override {}
    void ShowFileNotFound() override {}
    void ShowDictDamaged() override {}
    void ShowVersionIncompatible() override {}
    void ShowQuotaExceeded() override {}
};
