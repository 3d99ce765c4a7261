// Coefficients of the six colour-correction curves.
//
// Each curve is one polynomial per channel (R, G, B) of degree 6 without a
// constant term: v = a1*c + a2*c^2 + ... + a6*c^6 for a channel value c. The
// coefficients are single-precision; the stored files of other tools were made
// with exactly these values, so they must not be retuned.
#pragma once

#include <cstdint>

namespace ImageLib {

inline constexpr int32_t kColorCurveCount = 6;     // VOQ_TOP .. VOQ_INV_AVG
inline constexpr int32_t kColorCurveChannels = 3;  // R, G, B
inline constexpr int32_t kColorCurveDegree = 6;

using ColorCurveTable = float[kColorCurveChannels][kColorCurveDegree];

// Indexed by ColorCorrection - 1.
inline constexpr ColorCurveTable kColorCurves[kColorCurveCount] = {
    // VOQ_TOP
    {{1.0423608f, -0.0077491086f, 0.000145936f, -1.1155561e-06f, 3.8715355e-09f, -5.032425e-12f},
     {0.8699469f, -0.0048385104f, 0.000100974976f, -7.540229e-07f, 2.5213196e-09f, -3.1131458e-12f},
     {0.946877f, -0.004790414f, 6.2321706e-05f, -2.9934495e-07f, 4.763376e-10f, 1.5858313e-13f}},
    // VOQ_BTM
    {{0.7008814f, 0.0011375579f, 2.8642158e-05f, -3.005561e-07f, 1.1494627e-09f, -1.6037449e-12f},
     {0.51398236f, 0.0040499084f, -1.0448893e-05f, -2.9069207e-08f, 2.5240957e-10f, -4.1853928e-13f},
     {0.6037444f, 0.0042902376f, -4.1907482e-05f, 2.91425e-07f, -1.0779674e-09f, 1.6262945e-12f}},
    // VOQ_AVG
    {{0.8698727f, -0.003173578f, 8.546741e-05f, -6.973224e-07f, 2.4809559e-09f, -3.2867214e-12f},
     {0.6861989f, -0.00010191295f, 4.0784e-05f, -3.5999517e-07f, 1.2813938e-09f, -1.6307293e-12f},
     {0.7782307f, -0.00023291104f, 9.6279755e-06f, -4.7968607e-10f, -3.0833183e-10f, 8.9721655e-13f}},
    // VOQ_INV_TOP
    {{1.0159074f, 0.0061444864f, -0.00012874648f, 1.0275754e-06f, -3.6565748e-09f, 4.8324816e-12f},
     {1.2779129f, 0.0014463322f, -7.2220406e-05f, 6.54051e-07f, -2.44753e-09f, 3.29555e-12f},
     {1.020383f, 0.009398492f, -0.00016190262f, 1.1762685e-06f, -3.9485997e-09f, 4.918788e-12f}},
    // VOQ_INV_BTM
    {{1.4493288f, -0.0060515725f, 3.0101975e-05f, -3.6412487e-08f, -2.0347152e-10f, 5.556488e-13f},
     {1.7886646f, -0.01352555f, 0.00012607238f, -6.739598e-07f, 1.8532968e-09f, -2.0416264e-12f},
     {1.5248024f, -0.0067351004f, 5.6782446e-05f, -2.991014e-07f, 8.367082e-10f, -1.0017575e-12f}},
    // VOQ_INV_AVG
    {{1.2326181f, 4.64568e-05f, -4.9322258e-05f, 4.955815e-07f, -1.930023e-09f, 2.6940652e-12f},
     {1.5332887f, -0.006039609f, 2.6925985e-05f, -9.95439e-09f, -2.9711658e-10f, 6.269619e-13f},
     {1.2725928f, 0.0013316958f, -5.256008e-05f, 4.3858353e-07f, -1.5559457e-09f, 1.9585152e-12f}},
};

}  // namespace ImageLib
