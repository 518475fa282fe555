// A small project for the start-up tests, built in code: two columns and a beam on four nodes.
#pragma once

class CDBDoc;

// Makes a document with the project (no elements when bEmpty) and makes it the process's
// document (CDBDoc::m_pDBDoc). The caller deletes it with FreeStartupDocument.
CDBDoc* MakeStartupDocument(bool bEmpty = false);
void FreeStartupDocument(CDBDoc* pDoc);
