// Whole-program scenarios. Each row of the table runs the real lexinst.exe once in
// a fresh throw-away account and judges the run by its exit code, the settings,
// the files and the run's own log lines. The scenarios that need several
// processes or the file-type registry follow the table.
#include "support/EngineE2eFixture.h"

#include <shlobj.h>

#include <algorithm>
#include <ostream>
#include <thread>

namespace e2e {
namespace {

// Paths, arguments, settings and log lines may name the folders of the row's account:
// $R its root, $S the source folder, $A the account's dictionary folder, $D the data
// folder, $U the per-user data folder (none with a trailing backslash). $P<n> is a
// run of 'p' that makes the whole text n units long.
struct Dict {
    uint32_t id = 0, major = 1, minor = 0, build = 0;  // id 0: not a dictionary but zero bytes
    uint16_t level = 0;
};

struct File {
    std::wstring path;  // a folder when it ends in a backslash
    Dict dict;
    uint64_t zeros = 1;  // the size when dict.id is 0
    bool readOnly = false;
    bool heldOpen = false;             // opened without sharing during the run
    bool sharedForReading = false;     // held open, others may only read it
    std::vector<std::wstring> record;  // the entries of a record of pending work, as its content
};

struct Value {
    std::wstring key, value;  // "<absent>": no value; expected values are read as REG_SZ text
    DWORD type = REG_SZ;
};
using Settings = std::vector<Value>;

struct Scenario {
    const char* name;
    std::vector<std::wstring> args;
    std::wstring line;  // the command line as written, instead of the quoted args
    Settings settings;  // over the account's folder settings
    std::vector<File> files;
    int exitCode = 0;
    Settings expectSettings;
    std::vector<File> expectFiles;     // with these bytes and this read-only attribute
    std::vector<std::wstring> absent;  // paths
    std::vector<std::wstring> log;     // "level tag message"; "!text": no line holds text
    std::wstring without;              // run a copy of the program beside every stand-in DLL but this one
    bool imeElsewhere = false;         // an input method folder elsewhere, with none of the components in it
};

void PrintTo(const Scenario& row, std::ostream* out) { *out << row.name; }

const std::wstring kInstalled = L"/Dict/InstalledDict", kActive = L"/Dict/ActiveDict";
const std::wstring kSummary = L"20 lexinst Successfully installed ";
const Settings kListed = {{kInstalled, L"12_1_0_0.pvdict;112_1_0_0.pvdict;;7_1_0_0.pvdict"},
                          {kActive, L";12_1_0_0.pvdict;9_1_0_0.pvdict;"}};
const std::vector<File> kListedFiles = {{L"$A\\12_1_0_0.pvdict"},
                                        {L"$A\\112_1_0_0.pvdict"},
                                        {L"$A\\7_1_0_0.pvdict"},
                                        {L"$A\\9_1_0_0.pvdict"},
                                        {L"$U\\dict\\7_1_0_0.pvdict"}};
const std::wstring kHeld = L"$A\\2_1_0_0.pvdict", kD = L"$S\\d.pvdict";
const File kD3 = {kD, {3}}, kStored3 = {L"$A\\3_1_0_0.pvdict", {3}};

// "d0000000.pvdict;" up to "d<count - 1>.pvdict;", in list order, without `skip`.
std::wstring ManyNames(int count, int skip = -1)
{
    std::wstring text;
    for (int i = 0; i < count; ++i)
        text += i == skip ? L"" : L"d" + std::to_wstring(10000000 + i).substr(1) + L".pvdict;";
    return text;
}

// clang-format off
const Scenario kScenarios[] = {
    {.name = "SilentInstallStoresListsAndLogs", .args = {L"-silent", L"-sourcedir", L"$S", L"词库 one.pvdict"},
     .settings = {{L"/Dict/OrderedDict", L"zz;4242_1_2_3;"}}, .files = {{L"$S\\词库 one.pvdict", {4242, 1, 2, 3}}},
     .expectSettings = {{kInstalled, L"4242_1_2_3.pvdict;"}, {kActive, L"4242_1_2_3.pvdict;"},
                        {L"/Dict/OrderedDict", L"zz;"}}, .expectFiles = {{L"$A\\4242_1_2_3.pvdict", {4242, 1, 2, 3}}},
     .log = {L"10 func FUNCTION: CellDictInstaller::InstallDictFile(destPath.c_str()=$A\\4242_1_2_3.pvdict)",
             L"10 lexinst 写入词库列表：[] => [4242_1_2_3.pvdict;]",
             L"10 lexinst 写入启用的词库列表：[] => [4242_1_2_3.pvdict;]", kSummary + L"1 cell dicts, skipped 0."}},
    {.name = "DestNamesTheStoredFile", .args = {L"-silent", L"-dest", L"mine.pvdict", kD}, .files = {kD3},
     .expectSettings = {{kInstalled, L"mine.pvdict;"}, {kActive, L"mine.pvdict;"}},
     .expectFiles = {{L"$A\\mine.pvdict", {3}}}},
    {.name = "DestIsIgnoredForTwoFiles", .args = {L"-silent", L"-dest", L"x.pvdict", L"$S\\a.pvdict", L"$S\\b.pvdict"},
     .files = {{L"$S\\a.pvdict", {1}}, {L"$S\\b.pvdict", {2}}},
     .expectSettings = {{kInstalled, L"1_1_0_0.pvdict;2_1_0_0.pvdict;"}},
     .expectFiles = {{L"$A\\1_1_0_0.pvdict", {1}}, {L"$A\\2_1_0_0.pvdict", {2}}}, .absent = {L"$A\\x.pvdict"}},
    {.name = "DeselectRecordsAsInstalledOnly", .args = {L"-silent", L"-deselect", kD}, .files = {kD3},
     .expectSettings = {{kInstalled, L"3_1_0_0.pvdict;"}, {kActive, L"<absent>"}}, .expectFiles = {kStored3}},
    {.name = "DataDirStoresWithoutLists", .args = {L"-silent", L"-datadir", kD}, .files = {kD3},
     .expectSettings = {{kInstalled, L"<absent>"}}, .expectFiles = {{L"$D\\3_1_0_0.pvdict", {3}}},
     .absent = {L"$A\\3_1_0_0.pvdict"}},
    {.name = "AccountDirWinsOverDataDir", .args = {L"-silent", L"-accountdir", L"-datadir", kD}, .files = {kD3},
     .expectSettings = {{kActive, L"3_1_0_0.pvdict;"}}, .expectFiles = {kStored3}, .absent = {L"$D\\3_1_0_0.pvdict"}},
    {.name = "NewerVersionReplacesTheOlderEverywhere", .args = {L"-silent", L"$S\\new.pvdict"},
     .settings = {{kInstalled, L"12_1_2_9.pvdict;other.pvdict;"}, {kActive, L"12_1_2_9.pvdict;"}},
     .files = {{L"$A\\12_1_2_9.pvdict", {12, 1, 2, 9}}, {L"$S\\new.pvdict", {12, 1, 3}}},
     .expectSettings = {{kInstalled, L"12_1_3_0.pvdict;other.pvdict;"}, {kActive, L"12_1_3_0.pvdict;"}},
     .expectFiles = {{L"$A\\12_1_3_0.pvdict", {12, 1, 3}}}, .absent = {L"$A\\12_1_2_9.pvdict"},
     .log = {L"10 lexinst 写入词库列表：[12_1_2_9.pvdict;other.pvdict;] => [12_1_3_0.pvdict;other.pvdict;]"}},
    {.name = "FailuresFailTheBatchWhileTheRestInstalls",
     .args = {L"-silent", L"-removesource", L"-sourcedir", L"$S/", L"a.pvdict", L"missing.pvdict", L"bad.pvdict",
              L"level2.pvdict", L"b.pvdict"},
     .files = {{L"$S\\a.pvdict", {1}}, {L"$S\\bad.pvdict", {}, 500}, {L"$S\\level2.pvdict", {4, 1, 0, 0, 2}},
               {L"$S\\b.pvdict", {2}}, {L"$S\\c.pvdict", {3}}}, .exitCode = 1,
     .expectSettings = {{kInstalled, L"1_1_0_0.pvdict;2_1_0_0.pvdict;"}},
     .expectFiles = {{L"$A\\1_1_0_0.pvdict", {1}}, {L"$A\\2_1_0_0.pvdict", {2}}, {L"$S\\c.pvdict", {3}}},
     .absent = {L"$A\\4_1_0_0.pvdict", L"$S\\a.pvdict", L"$S\\bad.pvdict", L"$S\\level2.pvdict", L"$S\\b.pvdict"},
     .log = {L"40 lexinst Error reading dict file: $S/bad.pvdict",
             L"40 dictcheck $S/bad.pvdict: the file is 500 bytes, shorter than the 848-byte header",
             L"!Successfully installed"}},
    {.name = "OddSeparatorsAndTheAutopushList", .args = {L"-silent", L"$S\\p.pvdict", L"$S\\c.pvdict"},
     .settings = {{kInstalled, L";;b.pvdict;;a.pvdict"}, {kActive, L"a.pvdict;;"},
                  {L"/Dict/OrderedDict", L";x;;b.pvdict"},
                  {L"/Local/Autopush/Dict/installedList", L";26_1_0_0.pvdict"}},
     .files = {{L"$S\\p.pvdict", {26}}, {L"$S\\c.pvdict", {27}}},
     .expectSettings = {{kInstalled, L"27_1_0_0.pvdict;a.pvdict;b.pvdict;"}, {kActive, L"27_1_0_0.pvdict;a.pvdict;"},
                        {L"/Dict/OrderedDict", L"x;"}, {L"/Local/Autopush/Dict/installedList", L";26_1_0_0.pvdict"}},
     .absent = {L"$A\\26_1_0_0.pvdict"}, .log = {kSummary + L"1 cell dicts, skipped 1."}},
    {.name = "ReadOnlySourceStoredAndDatFiles", .args = {L"-silent", L"$S\\ro.pvdict"},
     .files = {{L"$A\\2_1_0_0.pvdict", {}, 2, true}, {L"$A\\2_1_0_0.pvdict.dat", {}, 1, true},
               {L"$S\\ro.pvdict", {2}, 0, true}},
     .expectFiles = {{L"$A\\2_1_0_0.pvdict", {2}}, {L"$A\\2_1_0_0.pvdict.dat", {}, 1, true},
                     {L"$S\\ro.pvdict", {2}, 0, true}}},
    {.name = "IndexHeldOpenCountsAsEmpty", .args = {L"-silent", L"$S\\q.pvdict"},
     .files = {{L"$U\\pvdictindex.dat", {}, 268435456, false, true}, {L"$S\\q.pvdict", {2}}},
     .expectFiles = {{L"$A\\2_1_0_0.pvdict", {2}}}},
    {.name = "EmptyAccountFolderTakesThePerUserFolder", .args = {L"-silent", L"$S\\f.pvdict"},
     .settings = {{L"/Common/accountDataDir", L""}}, .files = {{L"$S\\f.pvdict", {2}}},
     .expectFiles = {{L"$U\\dict\\2_1_0_0.pvdict", {2}}}},
    {.name = "FolderBelowAFileFails", .args = {L"-silent", L"$S\\f.pvdict"},
     .settings = {{L"/Common/accountDataDir", L"$R\\blocker\\account"}},
     .files = {{L"$R\\blocker"}, {L"$S\\f.pvdict", {2}}}, .exitCode = 1, .expectSettings = {{kInstalled, L"<absent>"}}},
    {.name = "StoredFileHeldOpenFailsAndKeepsTheLists", .args = {L"-silent", L"$S\\h.pvdict"},
     .settings = {{kInstalled, L"other.pvdict;"}}, .files = {{kHeld, {}, 1, false, true}, {L"$S\\h.pvdict", {2}}},
     .exitCode = 1, .expectSettings = {{kInstalled, L"other.pvdict;"}}, .expectFiles = {{kHeld}},
     .log = {L"40 lexinst error replacing old dict file(32): " + kHeld}},
    {.name = "ObsoleteFileHeldOpenIsLoggedAndStays", .args = {L"-silent", L"$S\\h.pvdict"},
     .settings = {{kInstalled, L"2_1_0_0.pvdict;"}}, .files = {{kHeld, {}, 1, false, true}, {L"$S\\h.pvdict", {2, 2}}},
     .expectSettings = {{kInstalled, L"2_2_0_0.pvdict;"}}, .expectFiles = {{kHeld}, {L"$A\\2_2_0_0.pvdict", {2, 2}}},
     .log = {L"40 lexinst error removing obsolete dict file(32): " + kHeld}},
    {.name = "WithoutTheLoggingLibraryNothingIsLogged", .args = {L"-silent", kD}, .files = {kD3},
     .expectSettings = {{kInstalled, L"3_1_0_0.pvdict;"}}, .log = {L"!"}, .without = L"pvxlog.dll"},
    {.name = "WithoutTheSettingsStoreInstallFails", .args = {L"-silent", kD},
     .settings = {{kInstalled, L"1_1_0_0.pvdict;"}}, .files = {kD3}, .exitCode = 1,
     .expectSettings = {{kInstalled, L"1_1_0_0.pvdict;"}}, .absent = {L"$R\\account"},
     .log = {L"!Successfully installed"}, .without = L"Setvault.dll"},
    {.name = "WithoutTheSettingsStoreDeleteFails", .args = {L"-delete", L"7_"}, .settings = kListed,
     .files = kListedFiles, .expectSettings = kListed, .expectFiles = kListedFiles, .without = L"Setvault.dll"},
    {.name = "ComponentsBesideTheProgramComeFirst", .args = {L"-silent", kD}, .files = {kD3}, .expectFiles = {kStored3},
     .imeElsewhere = true},
    {.name = "DeleteTakesEveryNameHoldingTheText", .args = {L"-silent", L"-delete", L"12_1_0_0.pvdict"},
     .settings = kListed, .files = kListedFiles, .exitCode = 1,
     .expectSettings = {{kInstalled, L"7_1_0_0.pvdict;"}, {kActive, L"9_1_0_0.pvdict;"}},
     .expectFiles = {{L"$A\\7_1_0_0.pvdict"}, {L"$A\\9_1_0_0.pvdict"}, {L"$U\\dict\\7_1_0_0.pvdict"}},
     .absent = {L"$A\\12_1_0_0.pvdict", L"$A\\112_1_0_0.pvdict"}, .log = {L"!"}},
    {.name = "DeleteOfAnActiveOnlyNameKeepsItsFile", .args = {L"-delete", L"9_"}, .settings = kListed,
     .files = kListedFiles, .exitCode = 1,
     .expectSettings = {{kInstalled, L"112_1_0_0.pvdict;12_1_0_0.pvdict;7_1_0_0.pvdict;"},
                        {kActive, L"12_1_0_0.pvdict;"}}, .expectFiles = kListedFiles},
    {.name = "DeleteOfAnEmptyOrOverlongTextSelectsNothing", .args = {L"-delete", L"", L"$P32600"}, .settings = kListed,
     .files = kListedFiles, .exitCode = 1,
     .expectSettings = {{kInstalled, L"112_1_0_0.pvdict;12_1_0_0.pvdict;7_1_0_0.pvdict;"},
                        {kActive, L"12_1_0_0.pvdict;9_1_0_0.pvdict;"}}, .expectFiles = kListedFiles},
    {.name = "DeleteTakesAnEmptyAccountFolderForNone", .args = {L"-delete", L"7_1_0_0"},
     .settings = {kListed[0], kListed[1], {L"/Common/accountDataDir", L""}}, .files = kListedFiles,
     .exitCode = 1, .expectSettings = {{kInstalled, L"112_1_0_0.pvdict;12_1_0_0.pvdict;"}},
     .expectFiles = {{L"$A\\7_1_0_0.pvdict"}}, .absent = {L"$U\\dict\\7_1_0_0.pvdict"}},
    // Nothing is lost: a batch naming two versions of one dictionary, and records
    // of interrupted work that are not what this program writes.
    {.name = "BatchWithAVersionTwiceKeepsTheListedFile",
     .args = {L"-silent", L"-sourcedir", L"$S", L"a1.pvdict", L"a2.pvdict", L"a1.pvdict"},
     .files = {{L"$S\\a1.pvdict", {5, 1, 1}}, {L"$S\\a2.pvdict", {5, 1, 2}}},
     .expectSettings = {{kInstalled, L"5_1_1_0.pvdict;"}, {kActive, L"5_1_1_0.pvdict;"}},
     .expectFiles = {{L"$A\\5_1_1_0.pvdict", {5, 1, 1}}}, .absent = {L"$A\\5_1_2_0.pvdict"}},
    {.name = "BatchOfNewerThenOlderActivatesOnlyTheInstalled",
     .args = {L"-silent", L"-sourcedir", L"$S", L"a2.pvdict", L"a1.pvdict"},
     .files = {{L"$S\\a1.pvdict", {5, 1, 1}}, {L"$S\\a2.pvdict", {5, 1, 2}}},
     .expectSettings = {{kInstalled, L"5_1_1_0.pvdict;"}, {kActive, L"5_1_1_0.pvdict;"}},
     .expectFiles = {{L"$A\\5_1_1_0.pvdict", {5, 1, 1}}}, .absent = {L"$A\\5_1_2_0.pvdict"}},
    {.name = "RecordActsOnlyOnTheFolderAndListsOnlyWhatExists", .args = {L"-silent", kD},
     .files = {kD3, {L"$R\\precious.txt"}, {L"$A\\keep.pvdict"}, {L"$A\\old.pvdict"},
               {L"$A\\lexinst.pending", {}, 0, false, false, false,
                {L"i:ghost.pvdict", L"d:$R\\precious.txt", L"d:$A\\old.pvdict",
                 L"d:$A\\..\\precious.txt", L"t:$A\\keep.pvdict"}}},
     .expectSettings = {{kInstalled, L"3_1_0_0.pvdict;"}},
     .expectFiles = {kStored3, {L"$R\\precious.txt"}, {L"$A\\keep.pvdict"}},
     .absent = {L"$A\\old.pvdict", L"$A\\lexinst.pending"},
     .log = {L"40 lexinst Ignored 4 entries of the record of an interrupted command: $A\\lexinst.pending",
             L"20 lexinst Completed an interrupted command."}},
    {.name = "RecordThatCannotBeRemovedIsNotApplied", .args = {L"-silent", kD},
     .settings = {{kInstalled, L"7_1_0_0.pvdict;"}},
     .files = {kD3, {L"$A\\7_1_0_0.pvdict"},
               {L"$A\\lexinst.pending", {}, 0, false, false, true, {L"u:7_1_0_0.pvdict", L"d:$A\\7_1_0_0.pvdict"}}},
     .exitCode = 1, .expectSettings = {{kInstalled, L"7_1_0_0.pvdict;"}}, .expectFiles = {{L"$A\\7_1_0_0.pvdict"}},
     .absent = {L"$A\\3_1_0_0.pvdict"},
     .log = {L"40 lexinst The record of an interrupted command cannot be removed(32): $A\\lexinst.pending",
             L"!Completed"}},
    {.name = "ReadOnlyRecordIsAppliedOnce", .args = {L"-delete", L"nothing"},
     .settings = {{kInstalled, L"7_1_0_0.pvdict;"}, {kActive, L""}},
     .files = {{L"$A\\7_1_0_0.pvdict"},
               {L"$A\\lexinst.pending", {}, 0, true, false, false, {L"u:7_1_0_0.pvdict", L"d:$A\\7_1_0_0.pvdict"}}},
     .exitCode = 1, .expectSettings = {{kInstalled, L""}},
     .absent = {L"$A\\7_1_0_0.pvdict", L"$A\\lexinst.pending"}},
    // Bad input: each ends in what the program does with it, otherwise in a failure
    // with nothing changed.
    {.name = "ArgumentNearTheLineLimitIsAMissingFile", .args = {L"-silent", L"$S\\$P32600"}, .settings = kListed,
     .exitCode = 1, .expectSettings = kListed},
    // No file name holds a quote, and Wine makes none that holds a lone surrogate.
    {.name = "LoneSurrogateOrQuoteInAFileName", .args = {L"-silent", L"$S\\\xD800.pvdict", L"$S\\a\"b.pvdict"},
     .settings = kListed, .exitCode = 1, .expectSettings = kListed},
    {.name = "LoneSurrogateDeleteTextTakesItsName", .args = {L"-delete", L"\xD800"},
     .settings = {{kInstalled, L"a\xD800.pvdict;7_1_0_0.pvdict;"}, {kActive, L"a\xD800.pvdict;"}},
     .files = {{L"$A\\7_1_0_0.pvdict"}}, .exitCode = 1,
     .expectSettings = {{kInstalled, L"7_1_0_0.pvdict;"}, {kActive, L""}}, .expectFiles = {{L"$A\\7_1_0_0.pvdict"}}},
    {.name = "LoneQuoteRunsToTheEnd", .line = L"-silent \"$S\\d.pvdict", .files = {kD3}, .expectFiles = {kStored3}},
    {.name = "LoneTrailingQuoteIsAnEmptyName", .line = L"-silent \"$S\\d.pvdict\" \"", .files = {kD3}, .exitCode = 1,
     .expectFiles = {kStored3}},
    {.name = "HundredThousandNamesAndOneMore", .args = {L"-silent", kD}, .settings = {{kInstalled, ManyNames(100000)}},
     .files = {kD3}, .expectSettings = {{kInstalled, L"3_1_0_0.pvdict;" + ManyNames(100000)}}},
    {.name = "DeleteTakesOneOfAHundredThousandNames", .args = {L"-delete", L"d0004242."},
     .settings = {{kInstalled, ManyNames(100000)}, {kActive, L""}}, .files = {{L"$A\\d0004242.pvdict"}}, .exitCode = 1,
     .expectSettings = {{kInstalled, ManyNames(100000, 4242)}}, .absent = {L"$A\\d0004242.pvdict"}},
    {.name = "ListOfAnotherTypeIsEmptyALoneSurrogateIsKept", .args = {L"-silent", kD},
     .settings = {{kInstalled, L"12_1_0_0.pvdict;", REG_BINARY}, {kActive, L"z\xD800.pvdict;a.pvdict;"}},
     .files = {kD3},
     .expectSettings = {{kInstalled, L"3_1_0_0.pvdict;"}, {kActive, L"3_1_0_0.pvdict;a.pvdict;z\xD800.pvdict;"}}},
    {.name = "DeleteFailsOnAListOfAnotherType", .args = {L"-delete", L"12_"},
     .settings = {{kInstalled, L"*", REG_DWORD}, kListed[1]}, .files = kListedFiles,
     .expectSettings = {{kInstalled, L"<absent>"}, kListed[1]}, .expectFiles = kListedFiles},
    // Sources of 259, 260 and 261 units stored as files of 259, 260 and 261 units: all work under Wine.
    {.name = "PathsOf259To261Units", .args = {L"-silent", L"$S\\$P259", L"$S\\$P260", L"$S\\$P261"},
     .settings = {{L"/Common/accountDataDir", L"$R\\$P239"}},
     .files = {{L"$S\\$P259", {3}}, {L"$S\\$P260", {30}}, {L"$S\\$P261", {300}}},
     .expectFiles = {{L"$R\\$P259\\dict\\3_1_0_0.pvdict", {3}}, {L"$R\\$P260\\dict\\30_1_0_0.pvdict", {30}},
                     {L"$R\\$P261\\dict\\300_1_0_0.pvdict", {300}}}},
    {.name = "FolderTooLongForATemporaryNameFails", .args = {L"-silent", L"$S\\d.pvdict"},
     .settings = {{L"/Common/accountDataDir", L"$R\\$P250"}}, .files = {{L"$S\\d.pvdict", {3}}}, .exitCode = 1,
     .expectSettings = {{L"/Dict/InstalledDict", L"<absent>"}}, .absent = {L"$R\\$P250\\dict\\3_1_0_0.pvdict"}},
    // Wine keeps no read-only attribute on a folder; on Windows it does not guard the files either.
    {.name = "SourceInAReadOnlyFolderIsRemoved", .args = {L"-silent", L"-removesource", L"$S\\ro\\d.pvdict"},
     .files = {{L"$S\\ro\\d.pvdict", {3}}, {L"$S\\ro\\", {}, 0, true}}, .expectFiles = {kStored3},
     .absent = {L"$S\\ro\\d.pvdict"}},
};
// clang-format on

class Scenarios : public EngineE2eTest, public testing::WithParamInterface<Scenario> {
protected:
    std::wstring Expand(std::wstring text) const
    {
        const std::pair<const wchar_t*, std::wstring> folders[] = {{L"$R", Root()},
                                                                   {L"$S", SourceDir()},
                                                                   {L"$A", Root() + L"\\account\\dict"},
                                                                   {L"$D", Root() + L"\\data"},
                                                                   {L"$U", UserDataDir()}};
        for (const auto& [mark, folder] : folders) {
            for (std::size_t at = text.find(mark); at != std::wstring::npos; at = text.find(mark, at + folder.size()))
                text.replace(at, 2, folder);
        }
        if (const std::size_t at = text.find(L"$P"); at != std::wstring::npos) {
            std::size_t digits = 0;
            const std::size_t length = std::stoul(text.substr(at + 2), &digits);
            text.replace(at, 2 + digits, length + 2 + digits - text.size(), L'p');
        }
        return text;
    }
    ByteVector BytesOf(const File& file) const
    {
        const Dict& d = file.dict;
        if (d.id)
            return MakeDict(d.id, d.major, d.minor, d.build, d.level);
        if (file.record.empty())
            return ByteVector(file.zeros, 0);
        std::wstring text = std::wstring(L"lexinst pending work 1") + L'\0';
        for (const std::wstring& entry : file.record)
            text += Expand(entry) + L'\0';
        text += std::wstring(L"end") + L'\0';
        ByteVector bytes;
        for (const wchar_t unit : text)
            bytes.insert(bytes.end(), {static_cast<uint8_t>(unit & 0xff), static_cast<uint8_t>(unit >> 8)});
        return bytes;
    }
    // Makes the file or folder and returns it held open when the row asks so.
    win::UniqueFile Make(const File& file) const
    {
        const std::wstring path = Expand(file.path);
        ::SHCreateDirectoryExW(nullptr, path.substr(0, path.rfind(L'\\')).c_str(), nullptr);
        EXPECT_TRUE(path.ends_with(L'\\') || (file.dict.id || !file.record.empty() ? WriteBytes(path, BytesOf(file))
                                                                                   : WriteZeroFile(path, file.zeros)))
            << ToUtf8(file.path);
        if (file.readOnly)
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
        if (!file.heldOpen && !file.sharedForReading)
            return {};
        const DWORD share = file.sharedForReading ? FILE_SHARE_READ : 0;
        return win::UniqueFile(::CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr));
    }
};

TEST_P(Scenarios, Run)
{
    const Scenario& row = GetParam();
    for (const auto& [key, value, type] : row.settings)
        SetSetting(key, Expand(value), type);
    std::vector<win::UniqueFile> held;
    for (const File& file : row.files)
        held.push_back(Make(file));
    std::optional<ScopedRegValue> imeFolder;
    if (row.imeElsewhere) {
        Make({L"$R\\ime\\PelvoPinyin.exe"});
        imeFolder.emplace(HKEY_LOCAL_MACHINE, kImeRegKey, L"exePath", Expand(L"$R\\ime"));
    }
    std::wstring args = Expand(row.line);
    for (const std::wstring& arg : row.args)
        args += QuoteArgument(Expand(arg)) + L" ";
    std::wstring exe = LexinstPath();
    if (!row.without.empty()) {
        ::CreateDirectoryW((Root() + L"\\program").c_str(), nullptr);
        exe = CopyLexinst(Root() + L"\\program", row.without);
    }
    ASSERT_FALSE(exe.empty());
    const int exitCode = e2e::Run(exe, args);
    held.clear();

    EXPECT_EQ(exitCode, row.exitCode);
    for (const auto& [key, value, type] : row.expectSettings)
        EXPECT_EQ(Setting(key), Expand(value)) << ToUtf8(key);
    std::vector<std::wstring> folders = {AccountDictDir()};  // where no tmp*.tmp may be left
    for (const File& file : row.expectFiles) {
        const std::wstring path = Expand(file.path);
        EXPECT_EQ(ReadBytes(path), BytesOf(file)) << ToUtf8(file.path);
        EXPECT_EQ((::GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_READONLY) != 0, file.readOnly)
            << ToUtf8(file.path);
        folders.push_back(path.substr(0, path.rfind(L'\\')));
    }
    for (const std::wstring& path : row.absent) {
        EXPECT_FALSE(FileExists(Expand(path))) << ToUtf8(path);
        folders.push_back(Expand(path.substr(0, path.rfind(L'\\'))));
    }
    for (const std::wstring& folder : folders)
        EXPECT_TRUE(ListFolder(folder, L"tmp*.tmp").empty()) << ToUtf8(folder);
    const std::vector<std::wstring> log = ReadLog(LogPath());
    for (const std::wstring& line : row.log) {
        const bool present = !line.starts_with(L"!");
        const std::wstring text = Expand(line.substr(!present));
        const auto holds = [&](const std::wstring& written) {
            return present ? written == text : written.find(text) != std::wstring::npos;
        };
        EXPECT_EQ(std::ranges::any_of(log, holds), present) << ToUtf8(line);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Scenarios, testing::ValuesIn(kScenarios),
                         [](const testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

TEST_F(EngineE2eTest, FileTypeRegistration)
{
    const std::wstring cls = L"PelvoImeDictFile", type = L"MIME\\Database\\Content Type\\application/PelvoImeDict";
    const auto clear = [&] {
        for (const wchar_t* key : {L".pvdict", cls.c_str(), type.c_str(), L".pcd", L"PvImeFile"})
            ::RegDeleteTreeW(HKEY_CLASSES_ROOT, key);
    };
    clear();
    SetRegString(HKEY_CLASSES_ROOT, L".pcd", L"", L"PvImeFile", REG_SZ, 0);
    SetRegString(HKEY_CLASSES_ROOT, L"PvImeFile\\Shell\\Open\\Command", L"", L"other.exe \"%1\"", REG_SZ, 0);
    const std::wstring exe = CopyLexinst(Root());  // a path with a space
    ASSERT_FALSE(exe.empty());
    // clang-format off
    const struct { std::wstring key; const wchar_t* name; std::wstring data; } entries[] = {
        {L".pvdict", L"", cls},
        {cls + L"\\DefaultIcon", L"", exe + L",0"},
        {cls + L"\\Shell", L"", L"Open"},
        {cls + L"\\Shell\\Open\\Command", L"", exe + L" \"%1\""},
        {type, L"Extension", L".pvdict"},
    };
    // clang-format on
    // clang-format off
    const struct { const char* name; std::wstring args; int exitCode; bool registered, legacy; } steps[] = {
        {"a line that cannot be parsed", L"-reg -dest", 1, false, true},
        {"-reg", L"-reg", 0, true, false},
        {"-reg again, a path ignored", L"-reg C:\\no\\such.pvdict", 0, true, false},
        {"-unreg wins over -reg", L"-reg -unreg", 0, false, false},
        {"-unreg with nothing registered", L"-unreg", 0, false, false},
    };
    // clang-format on
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(e2e::Run(exe, step.args), step.exitCode);
        for (const auto& entry : entries) {
            EXPECT_EQ(GetRegString(HKEY_CLASSES_ROOT, entry.key, entry.name, 0),
                      step.registered ? std::optional(entry.data) : std::nullopt)
                << ToUtf8(entry.key);
        }
        EXPECT_EQ(GetRegString(HKEY_CLASSES_ROOT, L".pcd", L"", 0).has_value(), step.legacy);
        EXPECT_EQ(GetRegString(HKEY_CLASSES_ROOT, L"PvImeFile\\Shell\\Open\\Command", L"", 0).has_value(), step.legacy);
    }
    clear();
}

// A holder of the install lock that ends without releasing it, as a killed one
// does, leaves the lock abandoned: the waiting installer takes it and goes on.
TEST_F(EngineE2eTest, AbandonedInstallLockDoesNotBlockTheNextInstaller)
{
    const win::UniqueHandle taken(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const win::UniqueHandle end(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread holder([&] {
        const win::UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, L"PELVO_PINYIN_DICT_INSTALL_MUTEX"));
        if (::WaitForSingleObject(mutex.Get(), 30000) == WAIT_OBJECT_0)
            ::SetEvent(taken.Get());
        ::WaitForSingleObject(end.Get(), INFINITE);
    });
    ASSERT_EQ(::WaitForSingleObject(taken.Get(), 30000), WAIT_OBJECT_0);
    Process waiting =
        Start(LexinstPath(), L"-silent " + QuoteArgument(WriteSource(L"d.pvdict", MakeDict(55, 1, 0, 0))));
    EXPECT_EQ(::WaitForSingleObject(waiting.Handle(), 8000), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the installer waits while another thread holds the lock";
    ::SetEvent(end.Get());
    holder.join();
    EXPECT_EQ(waiting.Wait(), 0);
    EXPECT_EQ(Setting(kInstalled), L"55_1_0_0.pvdict;");
}

}  // namespace
}  // namespace e2e
