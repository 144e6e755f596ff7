#pragma once

// The numbers of the launcher's templates, icon and controls, written once:
// the resource script uses them on Windows, the code's constants are made
// from them, and the Qt templates get them by name in templates.cpp. The
// resource compiler reads only preprocessor names, so they are spelled that
// way.

#define QV_IDD_OPTIONS 109
#define QV_IDD_ABOUT 108
#define QV_IDI_PROGRAM 7777

#define QV_IDC_ABOUT 106
#define QV_IDC_COUNT 1019
#define QV_IDC_SIZE 1020
#define QV_IDC_COLOR 1021
#define QV_IDC_DISTANCE 1022
#define QV_IDC_SPEED 1023
#define QV_IDC_BACKGROUND 1024
#define QV_IDC_LIGHTING 1025

#define QV_IDC_PRODUCT_PAGE 102
#define QV_IDC_MAKER_PAGE 103
#define QV_IDC_LICENSE 104
