#pragma once

// The compiled texture lists 0 to 4 (33, 124, 2, 9 and 84 names): list N
// selects texture archive N.
constexpr int TEXTURE_LIST_COUNT = 5;

int TextureListSize(int list);
// Null outside the list.
const char* TextureListName(int list, int index);
