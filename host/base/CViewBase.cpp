#include "host/base/CViewBase.h"

IMPLEMENT_DYNAMIC(CViewBase, CView)

CViewBase::CViewBase() = default;
CViewBase::~CViewBase() = default;
