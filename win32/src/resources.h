// Resource identifiers of PeluxBar.dll (shared by the .rc file and the code).
#pragma once

#define kRegistryScript 101
#define kDialogTranslation 105
#define kDialogTextColor 106
#define kBitmapMenuButton 201
#define kBitmapSmaller 202
#define kBitmapBigger 203
#define kIconBand 204
#define kMenuBand 202
#define kColorOtherColors 206
#define kColorText 207
#define kTranslationText 202
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
