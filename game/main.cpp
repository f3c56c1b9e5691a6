// SPDX-License-Identifier: GPL-3.0-or-later
// Process entry: the command line, the game folder, then the game from
// start-up to EndProgram.
#include <cstdio>

#include "game/data/best_scores.h"
#include "game/data/folder_check.h"
#include "game/data/game_folder.h"
#include "game/data/player_notice.h"
#include "game/pilot/demo_pilot.h"
#include "game/program/options.h"
#include "game/program/program.h"
#include "runtime/sound/rt_sound.h"

int main(int argc, char** argv) {
    ProgramOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        std::fputs(OptionErrorText("zentara", error).c_str(), stderr);
        return 2;
    }
    if (options.Help) {
        std::fputs(OptionsUsage("zentara").c_str(), stdout);
        return 0;
    }
    if (options.Version) {
        std::fputs(VersionText("zentara").c_str(), stdout);
        return 0;
    }
    if (options.Scores) return PrintBestScores(CheckedGameFolder(options.DataDir));
    // A demo or a replay only shows the best scores, unless asked.
    KeepBestScores(options.SaveScores || (!options.Demo && options.Replay.empty()));
    if (options.Check) {
        if (options.CheckFolder.empty()) options.CheckFolder = CheckedGameFolder(options.DataDir);
        const int code = RunCheck(options.CheckFolder);
        rt_sound_end();
        return code;
    }
    if (!EnterGameFolder(options.DataDir, InstalledPack(), error)) FailAtStart(error);
    StartProgram(options);
    // Only with --demo, --frames or --screenshots: hooks and the menu choice.
    StartDemo(options);
    RunMenuLoop();
}
