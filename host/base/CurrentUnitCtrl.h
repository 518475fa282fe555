// The current units of the model, as factors to the base units.
//
// Figures convert stored lengths and forces with these factors: a value in the current length
// unit times Cur2M() is metres, times Cur2MM() millimetres; a force in the current force unit
// times Cur2KN() is kN. Without a model database (the only case the results module meets) the
// current units are the model's native metres and kN, so the factors are 1, 1000 and 1.
#pragma once

class CurrentUnitCtrl {
public:
    static double Cur2M() { return 1.0; }
    static double Cur2MM() { return 1000.0; }
    static double Cur2KN() { return 1.0; }
};
