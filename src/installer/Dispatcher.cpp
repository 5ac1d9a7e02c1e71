// The dispatcher: one command per run, chosen by the command line.

#include "installer/CellDictInstaller.h"

#include "host/ConfigStore.h"
#include "host/FileTypeRegistration.h"
#include "installer/EngineOptions.h"
#include "win/FileSystem.h"
#include "win/SystemCommandLine.h"

#include <string>
#include <vector>

int CellDictInstaller::Run(const std::wstring& commandLine)
{
    // An exception fails the command it stops; the removal reports failure as 0.
    bool removing = false;
    try {
        return Dispatch(commandLine, removing);
    } catch (...) {
        return removing ? 0 : 1;
    }
}

// Precedence: a failed parse, then -unreg, -reg, -delete, -silent, then the
// single install. Options of a command that does not run are ignored.
int CellDictInstaller::Dispatch(const std::wstring& commandLine, bool& removing)
{
    SimpleOptParser parser(EngineOptionSpec());
    if (!parser.Parse(commandLine, win::SplitCommandLineBySystem))
        return 1;
    const EngineOptions options = EngineOptions::Read(parser.options);

    // The file association needs nothing of the input method.
    if (options.unreg) {
        UnregisterFileType(kDictExtension, kDictClassName, kDictContentType);
        return 0;
    }
    if (options.reg) {
        UnregisterFileType(kLegacyExtension, kLegacyClassName, nullptr);
        RegisterDictFileType();
        return 0;
    }

    // Silent on failure: each command meets a missing settings store itself.
    BringUpConfigComponent();

    const std::vector<std::wstring> names = parser.positionals;

    // The removal reports success as 1, the reverse of every other command.
    if (options.remove) {
        removing = true;
        return DeleteDicts(names) ? 1 : 0;
    }

    if (options.silent)
        return BatchInstall(names, options) ? 0 : 1;

    if (names.size() != 1) {
        ui->ShowNoFileSpecified();
        return 1;
    }
    if (!win::PathExists(names.front())) {  // a folder passes too
        ui->ShowFileNotFound();
        return 1;
    }
    return Install(names.front(), options) ? 0 : 1;
}
