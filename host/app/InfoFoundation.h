// The foundation model part of `pvxhost info`.
#pragma once

class CDataBase;

// Prints the foundation model's objects and check load groups, or "Foundation model: none"
// when the project has none.
void PrintFoundationModel(CDataBase& db);

// Whether the project holds any object of the foundation model (points, axes, members ...).
bool HasFoundationModel(CDataBase& db);
