// Progress of a command's long work, shown on the terminal as a bar with the share done and the
// step under way, redrawn in place on stderr:
//
//     [##############----------------]  47%  drawing the view
//
// A command lists its steps with their shares of the whole (measured on large projects) and
// enters them in turn; a step that can tell how far it is reports its own share done (reading
// and writing a project database do). Nothing is shown unless Enable(true) was called, which the
// program does only when stderr is a terminal and --quiet is not given. Messages printed
// meanwhile (HostMessage) clear the bar first; the next report draws it again.
//
//     CHostProgress progress({{"reading the project", 10}, {"drawing", 90}});
//     progress.Enter(0); ... CHostProgress::Report(0.5); ...
//     progress.Enter(1); ...
#pragma once

#include <string>
#include <vector>

class CHostProgress {
public:
    struct Step {
        std::string strLabel;
        double dShare;  // of the whole, in any unit; the shares are added up
    };

    // Starts showing the steps (when enabled); the destructor takes the bar away.
    explicit CHostProgress(std::vector<Step> steps);
    ~CHostProgress();
    CHostProgress(const CHostProgress&) = delete;
    CHostProgress& operator=(const CHostProgress&) = delete;

    // Starts step i (the steps before it count as done).
    void Enter(size_t i);

    // Whether the bar is shown at all.
    static void Enable(bool bOn);
    // Share (0 to 1) of the current step done; ignored when no steps run.
    static void Report(double fraction);
    // Shows text after the current step's label (the module's own word on the work under way:
    // the contour tool's steps, the prompts of a recording) until the next step.
    static void Note(const std::string& text);
    // Erases the bar from the terminal line (before a message); the next report draws it again.
    static void Clear();
    // Erases the bar for good.
    static void Finish();
    // The line the bar shows for a share done and a label, without control characters.
    static std::string Line(double done, const std::string& label);
};
