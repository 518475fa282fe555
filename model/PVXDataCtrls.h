// The model's narrow ways into the host post database, in one include.
//
// CPVXAttrCtrl reads node, element and member records and answers element-type questions;
// CPVXGeomCtrl computes local axes and builds element and member faces for its model;
// CPVXMembCtrl handles members as chains of elements; CPVXPostCtrl holds the node, element and
// wall tables of the result readers. Each model owns one attribute, geometry and post control
// (I_PVXModel::GetAttrCtrl, GetGeomCtrl, GetPostCtrl); member controls are made on the stack.
#pragma once

#include "model/CPVXAttrCtrl.h"
#include "model/CPVXGeomCtrl.h"
#include "model/CPVXMembCtrl.h"
#include "model/CPVXPostCtrl.h"
