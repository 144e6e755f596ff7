#include "show/game_map.h"

GameMap::~GameMap() {
    if (Objects && Count != 0) {
        for (std::int32_t i = 0; i < Count; ++i)
            delete Objects[i];
    }
    delete[] Objects;
    Objects = nullptr;
    Count = 0;
}

void GameMap::adopt(Object** objects, std::int32_t count) {
    Objects = objects;
    Count = count;
}
