#pragma once

#include <cstdint>

// An owning list of polymorphic objects. The show creates it empty and adds
// nothing; it is kept so that the teardown order stays what it is.
class GameMap {
public:
    class Object {
    public:
        virtual ~Object() = default;
    };

    GameMap() = default;
    virtual ~GameMap();
    GameMap(const GameMap&) = delete;
    GameMap& operator=(const GameMap&) = delete;

    // Takes ownership of the array and of every object in it.
    void adopt(Object** objects, std::int32_t count);
    std::int32_t count() const { return Count; }

private:
    Object** Objects = nullptr;
    std::int32_t Count = 0;
};
