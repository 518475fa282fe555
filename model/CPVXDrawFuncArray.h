// CPVXDrawFuncArray: the deferred overlay queues of one model.
//
// Labels, numbers and markers queued during the 3-D pass are kept here, one queue per kind of
// overlay, and drawn after it. The model owns one set and clears it before deleting it.
#pragma once

class CPVXDrawFuncArray {
public:
    CPVXDrawFuncArray();
    virtual ~CPVXDrawFuncArray();
    CPVXDrawFuncArray(const CPVXDrawFuncArray&) = delete;
    CPVXDrawFuncArray& operator=(const CPVXDrawFuncArray&) = delete;

    // Drops every queued record of every queue.
    void ClearFunctors();
};
