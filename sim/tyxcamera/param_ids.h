// param_ids.h - which parameter id mirrors which block field, and the values a camera accepts.
#pragma once

#include <cstdint>
#include <vector>

#include "abi/tyxcamera_ids.h"
#include "abi/tyxcamera_types.h"

namespace tyxsim {

struct TypeInfo;

// The id-to-field table is the one the program uses too (abi/tyxcamera_ids.h).
using ParamField = tyxid::FieldId<TyxCameraParams>;
using ExtendedField = tyxid::FieldId<TyxExtendedParams>;
using LinearField = tyxid::FieldId<TyxLinearParams>;

// Single ids that write one CameraParams field (29 writes saturation too,
// 68 writes the exposure; both are handled apart).
inline const auto& cameraFields() { return tyxid::kCameraFields; }
inline const auto& extendedFields() { return tyxid::kExtendedFields; }
inline const auto& linearFields() { return tyxid::kLinearFields; }

const ParamField* cameraField(int32_t id);
const ExtendedField* extendedField(int32_t id);
const LinearField* linearField(int32_t id);

// 0 when the camera accepts the value for that id, else 122.
int32_t checkRange(const TypeInfo& t, int32_t id, int64_t value);
int32_t checkExtendedRange(int32_t id, int64_t value);
int32_t checkLinearRange(const TypeInfo& t, int32_t id, int64_t value);

}  // namespace tyxsim
