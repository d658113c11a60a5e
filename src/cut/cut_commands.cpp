#include "cut/cut_commands.h"

#include "cut/cut_dialogs.h"
#include "cut/log_cut_file.h"
#include "loglist/list_commands.h"
#include "loglist/command_host.h"
#include "loglist/list_menu.h"
#include "settings/environ.h"
#include "settings/pmessage.h"

CutCommands::CutCommands(CommandHost& host) : host_(host) {}

CutCommands::~CutCommands() = default;

void CutCommands::Start() {
    if (run_) return;
    Environ& settings = host_.Settings();
    savedMode_ = settings.Cut().GetCutMode();
    savedCheck_ = settings.Cut().GetCutCheck();
    if (!ShowCutPreDialog(host_)) return;
    auto run = std::make_unique<LogCutFile>(host_);
    if (!run->Ready() || !run->Start()) {
        RestoreChoices();  // the choices were meant for this run only
        return;
    }
    run_ = std::move(run);
}

void CutCommands::Finish() {
    if (!run_ || !Stop()) return;
    list_commands::RewriteAndReload(host_);  // the changed logs show their new dates
}

void CutCommands::Interrupt() {
    if (!run_) return;
    run_->Interrupt();
    RestoreChoices();
}

bool CutCommands::Stop(DWORD limit, bool tell) {
    Interrupt();
    if (!run_) return true;
    // Messages handled during the wait may ask to end the run again: the call that waits ends it.
    if (waiting_) return false;
    waiting_ = true;
    const bool ended = run_->WaitForWorker(limit);
    waiting_ = false;
    if (!ended) return false;
    std::unique_ptr<LogCutFile> run = std::move(run_);
    const bool stopped = run->Finish();
    run.reset();
    RestoreChoices();
    if (stopped && tell) host_.Messages().ShowMessage(host_.Window(), kMsgCutStopped);
    return true;
}

void CutCommands::Options() {
    if (!ShowCutOptionsDialog(host_)) return;
    host_.Settings().Save();
    list_commands::RewriteAndReload(host_);
}

void CutCommands::RestoreChoices() {
    host_.Settings().Cut().SetCutMode(savedMode_);
    host_.Settings().Cut().SetCutCheck(savedCheck_);
}
