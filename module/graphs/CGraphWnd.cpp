#include "module/graphs/CGraphWnd.h"

CGraphWnd::CGraphWnd() : m_bHasData(0) {}
CGraphWnd::~CGraphWnd() = default;
