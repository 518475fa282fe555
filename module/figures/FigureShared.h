// Small helpers several figure files share: the post database of the open project, and the
// range beyond which a steel area prints as an overflow mark.
//
//     CDataBase* db = figshared::ModelDB();   // null without a project
//     CFVDRatioStrMaker::s_MakeStrEx(makers, text, colours, CString(), figshared::kAsLimit,
//                                    figshared::kOverflow);
#pragma once

#include "host/db/CDBDoc.h"
#include "host/db/CDataBase.h"

namespace figshared {

// Reinforcement beyond (-kAsLimit, kAsLimit) prints as kOverflow.
inline constexpr double kAsLimit = 99999.0;
inline constexpr const char* kOverflow = "***";

// The post database of the open project; null without one.
inline CDataBase* ModelDB() {
    CDBDoc* doc = CDBDoc::m_pDBDoc;
    return doc ? doc->GetMDBCtrl()->GetDBPost() : nullptr;
}

}  // namespace figshared
