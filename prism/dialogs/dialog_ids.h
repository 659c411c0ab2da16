// Templates and control ids of Prism's dialogs, shared by the resource script,
// the dialog classes and the tests that drive them. Plain #defines: the
// resource compiler reads this file too.
#pragma once

// Templates
#define IDD_COLOR_PROCESSING 200
#define IDD_BEFORE_PAGE 201
#define IDD_VEXA_PAGE 202
#define IDD_AFTER_PAGE 203
#define IDD_JPEG_QUALITY 210

// Main dialog ("Color Processing Parameters")
#define IDC_SAVE_RAW_DATA 1000
#define IDC_AUREL 1001
#define IDC_VEXA 1002
#define IDC_APPLY 1003
#define IDC_IMPORT 1004
#define IDC_EXPORT 1005
#define IDC_SENSOR_TYPE 1006
#define IDC_JPEG 1007
#define IDC_WIDTH_TOGGLE 1008
#define IDC_BEFORE_AREA 1010  // invisible frames that reserve the pages' places
#define IDC_VEXA_AREA 1011
#define IDC_AFTER_AREA 1012

// "Before IP :" page
#define IDC_OP_BEFORE 1100
#define IDC_B_AWB_OVERFLOW 1101
#define IDC_B_AWB_NOISE 1102
#define IDC_B_AWB_PERCENT_R 1103
#define IDC_B_AWB_LARGE_COLOR 1104
#define IDC_B_AWB_LARGE_SUB 1105
#define IDC_B_AWB_VALUE_LIMIT 1106
#define IDC_B_AWB_AVERAGE 1107
#define IDC_B_AWB_NORMAL 1108
#define IDC_B_AWB_ANTI_OVER 1109
#define IDC_B_AL_OVERFLOW 1110
#define IDC_B_AL_NOISE 1111
#define IDC_B_AL_PERCENT_L 1112
#define IDC_B_AL_LIMIT_L 1113
#define IDC_B_AL_PERCENT_R 1114
#define IDC_B_AL_LIMIT_R 1115
#define IDC_B_GAMMA 1116
#define IDC_B_GAMMA2 1117
#define IDC_B_GAMMA_S 1118
#define IDC_B_GAMMA_L 1119
#define IDC_B_SHIFT 1120
#define IDC_B_WEIGHT_R 1121
#define IDC_B_WEIGHT_G 1122
#define IDC_B_WEIGHT_B 1123

// "VEXA IP :" page; the 3 x 3 grids take nine ids from their first, row by row
#define IDC_OP_VEXA 1200
#define IDC_V_LETTERS 1201
#define IDC_V_UNSHARP_MASK 1210
#define IDC_V_BILINEAR 1220
#define IDC_V_TVNG 1221
#define IDC_V_BLUR_INTERPOLATION 1222
#define IDC_V_TVNG_LINE 1223
#define IDC_V_BLUR 1224
#define IDC_V_SHARPEN_GAIN 1225
#define IDC_V_SHARPEN_THRESHOLD 1226
#define IDC_V_GAMMA 1227
#define IDC_V_GAMMA2 1228
#define IDC_V_GAMMA_S_CURVE 1229
#define IDC_V_GAMMA_LEFT 1230
#define IDC_V_CM 1240
#define IDC_V_SHIFT 1250
#define IDC_V_CE_SATURATION 1251
#define IDC_V_AWB_OVERFLOW 1252
#define IDC_V_AWB_NOISE 1253
#define IDC_V_AWB_PERCENT_R 1254
#define IDC_V_AWB_THRESHOLD 1255
#define IDC_V_AWB_S_CURVE 1256
#define IDC_V_AWB_SATURATION 1257
#define IDC_V_AWB_CURVE 1258
#define IDC_V_AWB_LEFT 1259
#define IDC_V_AWB_AVERAGE 1260
#define IDC_V_AWB_NORMAL 1261
#define IDC_V_AWB_ANTI_OVER 1262
#define IDC_V_WEIGHT_R 1263
#define IDC_V_WEIGHT_G 1264
#define IDC_V_WEIGHT_B 1265
#define IDC_V_TWO_LEVEL_THRESHOLD 1266
#define IDC_V_ONE_UM 1270
#define IDC_V_TWO_UM 1280

// "After IP :" page
#define IDC_OP_AFTER 1300
#define IDC_A_CE_LINEAR 1301
#define IDC_A_CE_SATURATION 1302
#define IDC_A_CM 1310
#define IDC_A_GAMMA_AFTER 1320

// "IP Setting"
#define IDC_QUALITY_SLIDER 1400
#define IDC_QUALITY_TEXT 1401
