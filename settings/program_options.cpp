#include "settings/program_options.h"

#include "model/app_state.h"
#include "settings/settings.h"
#include "settings/settings_document.h"
#include "settings/settings_file.h"

namespace {

const char Group[] = "Program Options";
const char Keys[ProgramOptionCount][24] = {"Watch New Packages", "Own Kind Only", "Older Versions Aside"};
// No value read from the file can hold a line break, so this tells a missing key.
const char Missing[] = "\n";

}  // namespace

const char* ProgramOptionKey(ProgramOption option)
{
    return Keys[static_cast<int>(option)];
}

void ProgramOptionsLoad(AppState& app)
{
    std::string bytes;
    if (!ReadFileOnly(app.SettingsFilePath, &bytes))
        return;
    SettingsDocument document = DocumentParse(bytes);
    if (!DocumentSelectGroup(document, Group))
        return;
    for (int i = 0; i < ProgramOptionCount; ++i) {
        std::string value = DocumentReadKey(document, Keys[i], Missing);
        ProgramOptionState& state = app.Options.state[i];
        state.inFile = value != Missing;
        state.value = value == "Yes";
    }
}

void ProgramOptionsSave(AppState& app)
{
    for (int i = 0; i < ProgramOptionCount; ++i) {
        const ProgramOptionState& state = app.Options.state[i];
        if (state.clicked || state.inFile)
            WriteSetting(app.SettingsFilePath, Group, Keys[i], state.value ? "Yes" : "No");
    }
}

void ProgramOptionClick(AppState& app, ProgramOption option, bool on)
{
    app.Options[option].value = on;
    app.Options[option].clicked = true;
}

bool ProgramOptionOn(const AppState& app, ProgramOption option)
{
    return app.Options[option].value;
}
