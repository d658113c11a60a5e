// The main window's cut commands: 15 starts a run, 16 ends it, 23 shows the cut settings.
#include "cut/cut_commands.h"

#include <memory>

#include "app/kelvora_frame.h"
#include "app/main_window.h"
#include "cut/cut_dialogs.h"
#include "cut/log_cut_file.h"
#include "loglist/list_commands.h"
#include "loglist/list_menu.h"
#include "settings/pmessage.h"

namespace cut_commands {

namespace {

void RestoreChoices(KelvoraFrame& frame) {
    frame.Settings().Cut().SetCutMode(frame.SavedCutMode());
    frame.Settings().Cut().SetCutCheck(frame.SavedCutCheck());
}

}  // namespace

void StartCut(KelvoraFrame& frame) {
    if (frame.RunningCut() || !frame.List()) return;
    Environ& settings = frame.Settings();
    frame.SaveCutChoices(settings.Cut().GetCutMode(), settings.Cut().GetCutCheck());
    if (!ShowCutPreDialog(frame.Instance(), frame.MainWindow(), settings, frame.Messages())) return;
    auto run = std::make_unique<LogCutFile>(frame.Instance(), frame.MainWindow(), *frame.List(), settings,
                                            frame.Messages());
    if (!run->Ready() || !run->Start()) {
        RestoreChoices(frame);  // the choices were meant for this run only
        return;
    }
    frame.SetRunningCut(std::move(run));
}

void FinishCut(KelvoraFrame& frame) {
    if (!frame.RunningCut()) return;
    StopCut(frame);
    ListMenu* list = frame.List();
    if (list && list->SaveList()) {
        int selected = list->GetSelection();
        list->LoadList();
        list->Select(selected);
        UpdateStatusBar(frame);
    }
}

void StopCut(KelvoraFrame& frame) {
    // Taken from the frame first: messages handled while the worker is waited for may ask to end
    // the run again, and find none.
    std::unique_ptr<LogCutFile> run = frame.TakeRunningCut();
    if (!run) return;
    const bool stopped = run->Finish();
    run.reset();
    RestoreChoices(frame);
    if (stopped) frame.Messages().ShowMessage(frame.MainWindow(), kMsgCutStopped);
}

void CutOptions(KelvoraFrame& frame) {
    if (!ShowCutOptionsDialog(frame.Instance(), frame.MainWindow(), frame.Settings(), frame.Messages())) return;
    frame.Settings().Save();
    list_commands::RewriteAndReload(frame);
}

}  // namespace cut_commands
