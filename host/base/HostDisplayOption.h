// T_HOST_DISPLAY_OPTION_D: the part of the host's display-option record that a result model
// reads when the host's display options change (I_PVXModelBase::PV_OnDisplayChanged receives a
// pointer to one).
#pragma once

struct T_HOST_DISPLAY_OPTION_D {
    int m_nRenderStyle;  // rendering style of the host's 3-D view
};
