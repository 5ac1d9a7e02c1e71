#pragma once
// The dialog implementation of the installer UI: every operation runs one modal
// dialog and returns when the user has closed it.

#include "installer/CellDictInstallerUI.h"

class MainUI : public CellDictInstallerUI {
public:
    bool ConfirmInstall(const CellDictInfo& info) override;
    bool ConfirmOverwrite() override;
    void ShowInstallSuccess(const CellDictInfo& info) override;
    void ShowInstallFailed() override;
    void ShowNoFileSpecified() override;
    void ShowFileNotFound() override;
    void ShowDictDamaged() override;
    void ShowVersionIncompatible() override;
    void ShowQuotaExceeded() override;
};
