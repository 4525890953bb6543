#include "tools/demodata/ScreenStrings.h"

namespace demodata
{

const std::vector<StringEntry>& ScreenStrings()
{
    // Button groups of the layouts are looked up by their whole name ("b1_ok"); markers whose caption the
    // screen sets itself have an empty text.
    static const std::vector<StringEntry> strings = {
        // In-level overlay and banner.
        {"game_wave", "Wave"},
        {"level_d", "Level"},
        // Level result.
        {"game_win", "Victory!"},
        {"game_lose", "Defeat"},
        {"game_kill_score", "Kills: "},
        {"game_combo_bonus", "Combo bonus: "},
        {"game_life_bonus", "Lives bonus: "},
        {"game_total_score", "Total: "},
        {"game_best_score", "Best: "},
        {"gems", "Gems"},
        {"diff_easy", "Easy"},
        {"diff_normal", "Normal"},
        {"diff_hard", "Hard"},
        // Options dialog and message box.
        {"options_caption", "Window"},
        {"options_window_add", ""},
        {"options_fs", "Fullscreen"},
        {"IllegalResolutionMessage", "The desktop is too small\\nfor the game's window."},
        {"progress_confirm_text", "Leave this level?\\nIts progress will be lost."},
        {"profile_corrupt", "The player file was damaged.\\nA new player begins."},
        {"save_failed", "Your progress cannot be saved:"},
        {"b1_ok", "OK"},
        {"b1_cancel", "Back"},
        // The failed lives purchase is a modal dialog: its caption is sized for the caption place.
        {"buyHealthDialogTitle", "Not bought"},
        // What the local purchase service reports when a purchase fails or gets no answer.
        {"purchase_failed", "The purchase did not go through."},
        {"purchase_timeout", "The store did not answer."},
        // Main menu.
        {"b2_play", "Play"},
        {"b1_shop", "Upgrades"},
        {"b1_options", "Options"},
        {"b1_cloze", "Quit"},
        {"greet_1", "Welcome, "},
        {"greet_2", "!"},
        {"unnamed_player", "stranger"},
        // In-game menu.
        {"ingame_caption", "Paused"},
        {"b1_resume", "Resume"},
        {"b1_restart", "Restart"},
        {"b1_levels", "Levels"},
        {"b1_mmenu", "Menu"},
        {"b3_close", ""},
        // Modal dialogs and name input.
        {"profile_delete_caption", "Delete?"},
        {"profile_delete_message", "Delete this player and all of its progress?"},
        {"tutorial_skip_caption", "Skip tutorial"},
        {"tutorial_skip_message", "Turn the tutorial off for this player?"},
        {"tutorial_skip_label", "Skip tutorial"},
        {"default_player", "Player"},
        {"profile_edit_caption", "Your name"},
        // Profiles screen.
        {"profiles_caption", "Players"},
        {"profiles_select", "Click a name to play as that player."},
        {"empty_profile", "- empty -"},
        {"profiles_error", "Too many"},
        {"profiles_maxcount", "There can be five players at most. Delete one first."},
        {"b1_create", "New"},
        {"b1_rename", "Rename"},
        {"b6_delete", "Delete"},
        {"b1_back", "Back"},
        {"b1_confirm", "Done"},
        {"b5_p1", ""},
        {"b5_p2", ""},
        {"b5_p3", ""},
        {"b5_p4", ""},
        {"b5_p5", ""},
        // Episode and level select.
        {"episodes_caption", "Episodes"},
        {"unlockEpisodeText", "Needs\\n%d stars"},
        {"comingSoon", "Coming\\nsoon"},
        // The badge of what the player has not seen yet: an open level, an open episode, and the hardcore
        // button whether hardcore is open or still locked. The level plates wrap it at 80 pixels.
        {"episodeSelectNew", "!"},
        {"level_tab_0", "Easy"},
        {"level_tab_1", "Normal"},
        {"level_tab_2", "Hard"},
        {"HardcoreTitle", "Hardcore"},
        {"HardcoreUnlockMessage",
         "Earn three stars on every level of this episode to open its hardcore levels."},
        {"HardcoreDescMessage", "One life, every tower and spell, no upgrades. Good luck!"},
        // Unlock message.
        {"unlock_caption", "New!"},
        {"unlock_button", "OK"},
        {"unlock_36", "Hardcore: every tower and every spell is yours from the first wave."},
        {"unlock_37", "Hardcore: your upgrades rest. Towers fight as they were built."},
        {"unlock_38", "Hardcore: you have a single life. Let no enemy through!"},
        // Upgrade shop.
        {"shop", "Upgrades"},
        {"shop_tab_0", "Defence"},
        {"shop_tab_1", "Towers"},
        {"shop_tab_2", "Magic"},
        // Gem shop.
        {"gemShopTitle", "Gems"},
        {"gemShopTitle2", "You have %d gems"},
        {"gemShopBuyFor", "%s"},
        {"gemShopBuy_progress", "Buying..."},
    };
    return strings;
}

} // namespace demodata
