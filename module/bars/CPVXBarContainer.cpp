#include "module/bars/CPVXBarContainer.h"

IMPLEMENT_DYNCREATE(CPVXBarContainer, CPVXBarContainerBase)

CPVXBarContainer::CPVXBarContainer() : CPVXBarContainerBase(static_cast<UINT>(IDD)) {}

CPVXBarContainer::~CPVXBarContainer() = default;
