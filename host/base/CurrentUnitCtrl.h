// The current units of the model, as factors to the base units.
//
// Figures convert stored lengths and forces with these factors: a value in the current length
// unit times Cur2M() is metres, times Cur2MM() millimetres; a force in the current force unit
// times Cur2KN() is kN. Without a model database (the only case the results module meets) the
// current units are the model's native metres and kN (factors 1, 1000 and 1) unless the host
// sets another length unit.
#pragma once

class CurrentUnitCtrl {
public:
    static double Cur2M() { return s_dCur2M; }
    static double Cur2MM() { return s_dCur2M * 1000.0; }
    static double Cur2KN() { return 1.0; }
    // The host changes the current length unit (metres per unit: 0.001 for millimetres); a
    // value that is not positive keeps metres.
    static void SetLengthUnit(double cur2m) { s_dCur2M = cur2m > 0.0 ? cur2m : 1.0; }

private:
    static inline double s_dCur2M = 1.0;
};
