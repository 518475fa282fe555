#include "model/CPVXDrawFuncArray.h"

CPVXDrawFuncArray::CPVXDrawFuncArray() = default;
CPVXDrawFuncArray::~CPVXDrawFuncArray() { ClearFunctors(); }
void CPVXDrawFuncArray::ClearFunctors() {}
