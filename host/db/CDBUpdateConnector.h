// CDBUpdateConnector: a listener of the host database's update notices.
//
// Objects that must follow changes of the project (the result bar pages) derive from it; while
// they live they are told of every notice the host sends with BroadcastUpdate: who sent it, a
// hint code (the host's: 7 the project was replaced, 33 the figure display closed, ...) and the
// hint's data. A listener may destroy itself or other listeners while it is told; a listener
// gone before its turn is skipped.
//
//     class CMyPage : public CDialog, public CDBUpdateConnector {
//         void OnDBUpdate(void* pSender, int nHint, void* pData) override { ... }
//     };
//     CDBUpdateConnector::BroadcastUpdate(nullptr, 7, nullptr);
#pragma once

class CDBUpdateConnector {
public:
    CDBUpdateConnector();
    virtual ~CDBUpdateConnector();
    CDBUpdateConnector(const CDBUpdateConnector&) = delete;
    CDBUpdateConnector& operator=(const CDBUpdateConnector&) = delete;

    // One notice; listeners that do not care leave it alone.
    virtual void OnDBUpdate(void* pSender, int nHint, void* pData);

    // Tells every live listener, oldest first. Returns the number told.
    static int BroadcastUpdate(void* pSender, int nHint, void* pData);
    // Number of live listeners.
    static int GetListenerCount();
};
