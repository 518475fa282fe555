// The model's narrow ways into the host post database, in one include.
//
// CPVXAttrCtrl reads node, element and member records and answers element-type questions;
// CPVXGeomCtrl computes local axes and builds element and member faces for its model;
// CPVXMembCtrl handles members as chains of elements; CPVXPostCtrl holds the node, element and
// wall tables of the result readers. Each model owns one attribute, geometry and post control
// (I_PVXModel::GetAttrCtrl, GetGeomCtrl, GetPostCtrl); member controls are made on the stack.
#pragma once

#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXGeomCtrl.h"
#include "module/model/CPVXMembCtrl.h"
#include "module/model/CPVXPostCtrl.h"
