// The dispatcher: one command per run, chosen by the command line.

#include "installer/CellDictInstaller.h"

#include "core/SimpleOptParser.h"
#include "host/ConfigStore.h"
#include "host/FileTypeRegistration.h"
#include "installer/CellDictInstallerUI.h"

#include "win/FileSystem.h"
#include "win/SystemCommandLine.h"

#include <string>
#include <vector>

// Precedence: a failed parse, then -unreg, -reg, -delete, -silent, then the
// single install. Options of a command that does not run are ignored.
int CellDictInstaller::Run(const std::wstring& commandLine)
{
    SimpleOptParser parser(kLexinstOptionSpec);
    if (!parser.Parse(commandLine, win::SplitCommandLineBySystem))
        return 1;

    // The file association needs nothing of the input method.
    if (parser.options.IsSet(L"-unreg")) {
        UnregisterFileType(kDictExtension, kDictClassName, kDictContentType);
        return 0;
    }
    if (parser.options.IsSet(L"-reg")) {
        UnregisterFileType(kLegacyExtension, kLegacyClassName, nullptr);
        RegisterDictFileType();
        return 0;
    }

    // Silent on failure: each command meets a missing settings store itself.
    BringUpConfigComponent();

    const std::vector<std::wstring> names = parser.positionals;

    // The removal reports success as 1, the reverse of every other command.
    if (parser.options.IsSet(L"-delete"))
        return DeleteDicts(names) ? 1 : 0;

    if (parser.options.IsSet(L"-silent"))
        return BatchInstall(names, parser.options) ? 0 : 1;

    if (names.size() != 1) {
        if (ui)
            ui->ShowNoFileSpecified();
        return 1;
    }
    if (!win::PathExists(names.front())) {  // a folder passes too
        if (ui)
            ui->ShowFileNotFound();
        return 1;
    }
    return Install(names.front(), parser.options) ? 0 : 1;
}
