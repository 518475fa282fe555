// Drawing passes of the force engine called by the model's render switch. Each pass draws the
// lists its family built; the passes are filled in by the force drawing code, and until then a
// pass draws nothing.
#include "module/force/CForceEngine.h"

void CForceEngine::DrawSSFRData(CDC*) {}
void CForceEngine::OutputSSFRData(CDC*) {}
void CForceEngine::DrawBForcContour(CDC*) {}
void CForceEngine::DrawTForcContour(CDC*) {}
void CForceEngine::OutputBForcNumbers(CDC*) {}
void CForceEngine::OutputTForcNumbers(CDC*) {}
void CForceEngine::DrawBeamSfdBmd(CDC*) {}
void CForceEngine::DrawTrussSfdBmd(CDC*) {}
void CForceEngine::DrawWForcContour(CDC*) {}
void CForceEngine::DrawWallSfdBmd(CDC*) {}
void CForceEngine::OutputWForcNumbers(CDC*) {}
void CForceEngine::DrawPForcContour(CDC*) {}
void CForceEngine::OutputPForcNumbers(CDC*) {}
void CForceEngine::DrawSForcContour(CDC*) {}
void CForceEngine::DrawSForcContourMemb(CDC*) {}
void CForceEngine::OutputSForcNumbers(CDC*) {}
void CForceEngine::OutputSForcNumbersMemb(CDC*) {}
void CForceEngine::DrawSRbarContour(CDC*) {}
void CForceEngine::OutputSRbarNumbersMemb(CDC*) {}
void CForceEngine::DrawSCracContour(CDC*) {}
void CForceEngine::DrawSWallContour(CDC*) {}
void CForceEngine::OutputSWallNumbers(CDC*) {}
void CForceEngine::DrawCLineSfdBmd(CDC*) {}
void CForceEngine::OutputSBForcNumbersMemb(CDC*) {}
