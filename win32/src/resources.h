// Resource identifiers of PeluxBar.dll (shared by the .rc file and the code). The band's menu
// is no resource: it is built for each press from the core's menu table.
#pragma once

#define kRegistryScript 101
#define kDialogTranslation 105
#define kDialogTextColor 106
#define kBitmapMenuButton 201
#define kBitmapSmaller 202
#define kBitmapBigger 203
#define kIconBand 204
#define kColorOtherColors 206
#define kColorText 207
#define kTranslationText 202
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
