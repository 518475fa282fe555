#include "host/db/CUnitCtrl.h"
#include "host/db/DBResultRecords.h"

namespace {
const char* const kUnitText[PVXUNIT_COUNT] = {
    "",          // PVXUNIT_NONE
    "mm",        // PVXUNIT_MM
    "kN",        // PVXUNIT_FORCE
    "m",         // PVXUNIT_M
    "rad",       // PVXUNIT_RAD
    "kN·m",      // PVXUNIT_MOMENT
    "kN/m",      // PVXUNIT_FORCE_LEN
    "kN·m/m",    // PVXUNIT_MOMENT_LEN
    "kN/m²",     // PVXUNIT_STRESS
    "mm²",       // PVXUNIT_STEEL
    "mm²/m",     // PVXUNIT_STEEL_LEN
    "°",         // PVXUNIT_ANGLE
    "kN·m",      // PVXUNIT_DSGN_MOMENT
    "kN·m/m",    // PVXUNIT_STRIP_MOMENT
    "kPa",       // PVXUNIT_PRESSURE
    "Hz",        // PVXUNIT_HZ
    "s",         // PVXUNIT_SEC
    "kN",        // PVXUNIT_DSGN_FORCE
    "%",         // PVXUNIT_PERCENT
    "",          // PVXUNIT_RATIO
    "",          // PVXUNIT_SHAPE
    "m/s²",      // PVXUNIT_ACCEL
    "m/s",       // PVXUNIT_VELOCITY
};
}  // namespace

BOOL CUnitCtrl::GetUnitSystem(int nCode, CString& strUnit) const {
    if (nCode < 0 || nCode >= PVXUNIT_COUNT) {
        strUnit.Empty();
        return FALSE;
    }
    strUnit = kUnitText[nCode];
    return TRUE;
}
