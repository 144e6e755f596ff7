#pragma once

#include <irrlicht.h>

#include <cstddef>
#include <vector>

// Draws the billboards of the whole swarm in one pass: one draw call per
// picture instead of one per ball, with the quads the engine's billboard
// node would draw (the same camera-facing corners, normals, texture
// coordinates and shades) and the billboards' own material. The billboards
// stay in the scene, hidden, and keep receiving their positions.
//
// Their material is additive and the node draws it without depth writes,
// so the order in which the balls are drawn does not change the picture
// and nothing is sorted.
class SwarmNode : public irr::scene::ISceneNode {
public:
    // Takes the billboards as they are once they have their size, picture
    // and lighting; billboards with the same material share a draw call.
    SwarmNode(irr::scene::ISceneManager* scene, const std::vector<irr::scene::IBillboardSceneNode*>& billboards);

    void OnRegisterSceneNode() override;
    void render() override;
    const irr::core::aabbox3df& getBoundingBox() const override { return Box; }
    irr::u32 getMaterialCount() const override { return static_cast<irr::u32>(Batches.size()); }
    irr::video::SMaterial& getMaterial(irr::u32 i) override { return Batches[i].Material; }

    // Draws in one pass (true), or leaves the drawing to the billboards
    // themselves, one node at a time, as the engine would (false).
    void drawInOnePass(bool onePass);

    // The draw calls of the last render: one per picture in use.
    std::size_t drawCallsOfLastFrame() const { return DrawCalls; }

private:
    struct Batch {
        irr::video::SMaterial Material;
        std::vector<irr::scene::IBillboardSceneNode*> Billboards;
        std::size_t FirstVertex = 0;
    };

    void addToBatch(irr::scene::IBillboardSceneNode* billboard);
    void turnOffDepthWrites();
    void layOutBuffers();
    void faceCamera(const Batch& batch, const irr::scene::ICameraSceneNode& camera);

    std::vector<Batch> Batches;
    std::vector<irr::video::S3DVertex> Vertices; // four per billboard, batch by batch
    std::vector<irr::u16> Indices;               // two triangles per billboard, from a batch's first vertex
    irr::core::aabbox3df Box;
    std::size_t DrawCalls = 0;
};
