#pragma once

// Res: the game's resource identifiers. Every image, sound and font the game
// uses is reached through one of these process-wide variables, named exactly
// like its identifier in the resource manifest. The binding step of each
// resource group stores the resource manager's images, sound ids and font
// here; the resource manager keeps ownership. An image variable is null and
// a sound variable is -1 until its group is bound, and code that may run
// earlier (tests, the headless player) must accept that.

#include "framework/graphics/Image.h"

namespace Zorvin {

class Font;

// Group "Init".
extern Font* FONT_DEFAULT;

// Group "TitleScreen".
extern Image* IMAGE_LOADER_BAR;
extern Image* IMAGE_LOADER_KORVELT;
extern Image* IMAGE_LOGO_BIG;
extern int SOUND_CONTINUE;

// Group "Game": images.
extern Image* IMAGE_ARROW;
extern Image* IMAGE_BIG_BUTTON;
extern Image* IMAGE_BIG_BUTTON_OVER;
extern Image* IMAGE_BIG_BUTTON_DOWN;
extern Image* IMAGE_BIG_BUTTON_DISABLE;
extern Image* IMAGE_BUTTON_NORMAL;
extern Image* IMAGE_BUTTON_OVER;
extern Image* IMAGE_BUTTON_DOWN;
extern Image* IMAGE_BUTTON_DISABLE;
extern Image* IMAGE_BUTTON_MENU;
extern Image* IMAGE_BUTTON_MENU_OVER;
extern Image* IMAGE_BUTTON_MENU_DOWN;
extern Image* IMAGE_CHARIOT;
extern Image* IMAGE_SHIP;
extern Image* IMAGE_CHECKBOX;
extern Image* IMAGE_COMBO_METER;
extern Image* IMAGE_COMBO_METER_ON;
extern Image* IMAGE_COMBO_METER_LABELS;
extern Image* IMAGE_COMPLETE_WND;
extern Image* IMAGE_CROP_DECK;
extern Image* IMAGE_DECK_PLACE;
extern Image* IMAGE_NO_CROPS;
extern Image* IMAGE_ROCK_PLACE;
extern Image* IMAGE_DIALOG_BOX;
extern Image* IMAGE_FISH_L;
extern Image* IMAGE_FISH_L2;
extern Image* IMAGE_FISH_L3;
extern Image* IMAGE_FISH_OVER;
extern Image* IMAGE_FISH_OVER2;
extern Image* IMAGE_FISH_OVER3;
extern Image* IMAGE_FISH_BACK;
extern Image* IMAGE_FISH_BACK2;
extern Image* IMAGE_FISH_BACK3;
extern Image* IMAGE_FISH_ROTATE;
extern Image* IMAGE_FISH_ROTATE2;
extern Image* IMAGE_FISH_ROTATE3;
extern Image* IMAGE_FISH_BORDER;
extern Image* IMAGE_FISH_JOKER;
extern Image* IMAGE_FISH_JOKER_BACK;
extern Image* IMAGE_FISH_JOKER_ROTATE;
extern Image* IMAGE_FISH_LOCK0;
extern Image* IMAGE_FISH_LOCK1;
extern Image* IMAGE_FISH_LOCK2;
extern Image* IMAGE_KEY_ANIM;
extern Image* IMAGE_PYRAMID_ANIM;
extern Image* IMAGE_SPHERE_ANIM;
// A level's rating stars: cel 0 earned, cel 1 not.
extern Image* IMAGE_STAR;
extern Image* IMAGE_STAR_SMALL;
extern Image* IMAGE_TYP0;
extern Image* IMAGE_TYP1;
extern Image* IMAGE_TYP2;
extern Image* IMAGE_TYP3;
extern Image* IMAGE_TYP4;
extern Image* IMAGE_TYP5;
extern Image* IMAGE_TYP6;
extern Image* IMAGE_TYP7;
extern Image* IMAGE_TYP8;
extern Image* IMAGE_TYP9;
extern Image* IMAGE_TYP10;
extern Image* IMAGE_TYP11;
extern Image* IMAGE_TYP12;
extern Image* IMAGE_TYP13;
extern Image* IMAGE_TYP14;
extern Image* IMAGE_TYP15;
extern Image* IMAGE_TYP16;
extern Image* IMAGE_TYP17;
extern Image* IMAGE_TYP18;
extern Image* IMAGE_TYP19;
extern Image* IMAGE_TYP20;
extern Image* IMAGE_TYP21;
extern Image* IMAGE_TYP22;
extern Image* IMAGE_TYP23;
extern Image* IMAGE_TYP24;
extern Image* IMAGE_TYP25;
extern Image* IMAGE_HOW_TO_PLAY1;
extern Image* IMAGE_HOW_TO_PLAY2;
extern Image* IMAGE_LOGO_SMALL;
extern Image* IMAGE_TITLE;
extern Image* IMAGE_MAP_POINT;
extern Image* IMAGE_MAP_POINT_COMPLETE;
extern Image* IMAGE_MAP_POINT_SELECT;
extern Image* IMAGE_SCROLL;
extern Image* IMAGE_SCROLL_OVER;
extern Image* IMAGE_SCROLL_SELECT;
extern Image* IMAGE_PANEL;
extern Image* IMAGE_PANEL_UP;
extern Image* IMAGE_PREVIEW;
extern Image* IMAGE_PANEL_LINE;
extern Image* IMAGE_PANEL_LINE_OSS;
extern Image* IMAGE_PANEL_LINE_LAG;
extern Image* IMAGE_PLAYLINE;
extern Image* IMAGE_SLIDER_TRACK;
extern Image* IMAGE_SLIDER_THUMB;
extern Image* IMAGE_W_HINT;
extern Image* IMAGE_W_MAP;
extern Image* IMAGE_W_MAP2;
extern Image* IMAGE_W_MENU;
extern Image* IMAGE_W_SMALL;
extern Image* IMAGE_x2;
extern Image* IMAGE_x3;
extern Image* IMAGE_x4;
extern Image* IM_B_DIALOG;
extern Image* IM_B_DIALOG_OVER;
extern Image* IM_B_DIALOG_DOWN;
extern Image* IM_B_DIALOG_DISABLE;
extern Image* IM_B_CHANGE_PLAYER;
extern Image* IM_B_OVER_CHANGE_PLAYER;
extern Image* IM_B_MENU;
extern Image* IM_B_OVER_MENU;
extern Image* IM_BONUS_100;
extern Image* IM_BONUS_200;
extern Image* IM_BONUS_CROP;
extern Image* IM_BONUS_JOKER;
extern Image* IM_BONUS_PLACE;
extern Image* IM_BONUS_RESHUFFLE;
extern Image* IM_BONUS_STONE;
extern Image* IM_BONUS_STAR;

// Group "Game": sounds.
extern int SOUND_CLICK;
extern int SOUND_PUT;
extern int SOUND_PUT_X2;
extern int SOUND_PUT_X3;
extern int SOUND_PUT_X4;
extern int SOUND_FLIP;
extern int SOUND_BONUS;
extern int SOUND_BONUS_APPEAR;
extern int SOUND_USE_KEY;
extern int SOUND_LEVEL_START;
extern int SOUND_LEVEL_COMPLETE;
extern int SOUND_LEVEL_FAILED;
extern int SOUND_SCROLL;
extern int SOUND_STAGE;

} // namespace Zorvin
