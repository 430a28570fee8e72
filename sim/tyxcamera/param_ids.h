// param_ids.h - which parameter id mirrors which block field, and the values a camera accepts.
#pragma once

#include <cstdint>
#include <vector>

#include "abi/tyxcamera_types.h"

namespace tyxsim {

struct TypeInfo;

struct ParamField {
  int32_t id;
  int32_t TyxCameraParams::*member;
};
struct ExtendedField {
  int32_t id;
  int32_t TyxExtendedParams::*member;
};
struct LinearField {
  int32_t id;
  int32_t TyxLinearParams::*member;
};

// Single ids that write one CameraParams field (29 writes saturation too,
// 68 writes the exposure; both are handled apart).
const std::vector<ParamField>& cameraFields();
const std::vector<ExtendedField>& extendedFields();
const std::vector<LinearField>& linearFields();

const ParamField* cameraField(int32_t id);
const ExtendedField* extendedField(int32_t id);
const LinearField* linearField(int32_t id);

// 0 when the camera accepts the value for that id, else 122.
int32_t checkRange(const TypeInfo& t, int32_t id, int64_t value);
int32_t checkExtendedRange(int32_t id, int64_t value);
int32_t checkLinearRange(const TypeInfo& t, int32_t id, int64_t value);

}  // namespace tyxsim
