// A small project for the start-up tests, built in code: two columns and a beam on four nodes.
// Kept apart from the view code because the database's settings header and the render view
// header both define a light record of the same name.
#pragma once

class CDBDoc;

// Makes a document with the project (no elements when bEmpty) and makes it the process's
// document (CDBDoc::m_pDBDoc). The caller deletes it with FreeStartupDocument.
CDBDoc* MakeStartupDocument(bool bEmpty = false);
void FreeStartupDocument(CDBDoc* pDoc);
