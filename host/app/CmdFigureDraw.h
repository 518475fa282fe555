// The drawing and export of `pvxhost figure ID ...`: the figure command (CmdFigure.cpp) parses
// the command line, loads the module, opens the result view and the figure tree and resolves the
// IDs; RunFigureDraw then does what the user does in the figure window.
//
//   - draws the types in their order (the module's PVXHost_FigureDisplay: the selection, then
//     DisplayFigureDlgData) into the figure view the module opens through the document;
//   - --load: the entry of the view's load-case list with that key or text (0: the most
//     unfavourable entry), chosen as a double-click in the list; unknown: exit 2 with the list;
//   - --move TEXT=DX,DY: drags the movable text (by its text, else its index among the movable
//     texts in drawing order) by DX, DY drawing units; the view stores the move in memory; with
//     --save the offsets are written into the project file in place in one transaction at the
//     end, without it the file is not written;
//   - the figure panel is made as the figure window makes it (PVXHost_FigurePanel); --set
//     CONTROL=VALUE sets a control of its pages through the scripted user (the page's tab picked
//     first), then the Apply of each page set that has one is pressed; --list-controls prints the
//     pages' controls instead of writing;
//   - --contour-set KEY=VALUE: after the pages, the panel's contour button is pressed and the
//     contour dialog it opens is set through the scripted user, then its OK; an unknown key or a
//     value the dialog refuses is a wrong request (exit 2), as is a figure without contours;
//   - --member KEY (pictures only): the view's zoom-window command around that foundation
//     member (its outline's box enlarged by 20 %);
//   - --out F.dxf: the view's export command with the save dialog answered by a temporary file
//     beside F that keeps the extension; F.bmp / F.emf: the view's drawing rendered at width x
//     height; F.dwg is refused (exit 2) before anything is drawn: DWG cannot be written here.
//   - what was written is reported on stdout: the file, each figure's number and name, the load
//     case and the count of texts and of lines and outlines in the drawing.
#pragma once

#include <string>
#include <utility>
#include <vector>

class CDataBase;
class CPVXModuleLoader;

struct FigureDrawArgs {
    CPVXModuleLoader* loader = nullptr;
    std::vector<int> types;          // in the order given
    std::vector<std::string> names;  // "caption (suffix)" of each type, for the report
    std::string load;                // --load
    bool hasLoad = false;
    std::string member;              // --member, empty without
    std::vector<std::string> moves;  // --move values, "TEXT=DX,DY"
    bool save = false;               // --save
    int width = 1600, height = 1200; // --size
    std::string out;                 // --out
    std::string project;             // the open project file
    std::vector<std::pair<std::string, std::string>> sets;  // --set, in order
    std::vector<std::pair<std::string, std::string>> contourSets;  // --contour-set, in order
    bool listControls = false;       // --list-controls
    bool noFoundation = false;       // the project holds no foundation model
    const CDataBase* db = nullptr;   // the open project (why a sheet draws nothing)
};

// The table of check results a check sheet reads (its records give the sheet its texts); null
// for the other sheets.
const char* FigureCheckTable(int type);

// The panel controls that draw the same whatever their value: the value drawing scale outside
// the diagram sheets, and the buttons whose dialogs --set does not answer (contour, whose
// dialog --contour-set answers; text style, layers, export; the hidden options button).
bool FigurePanelNoEffect(long type, const std::string& name);

// Exit status: 0 written; 2 a wrong request (unknown load case, member or text, --member with
// .dxf, an unknown extension or .dwg, a panel value its control refuses); 1 a failure (no figure
// view, a sheet with nothing of its own to draw, a move that cannot be saved, the export failed).
int RunFigureDraw(const FigureDrawArgs& args);

// One --move value "TEXT=DX,DY" (TEXT may itself hold "="; the last one splits); false when it
// is not of that shape or a number is not finite.
bool ParseFigureMove(const std::string& value, std::string& text, double& dx, double& dy);
