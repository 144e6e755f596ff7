#include "show/swarm_node.h"

#include <algorithm>
#include <limits>

using irr::core::vector3df;

namespace {

constexpr std::size_t kCornersPerQuad = 4;
constexpr std::size_t kIndicesPerQuad = 6;
// A draw call numbers its corners with 16 bits.
constexpr std::size_t kMostQuadsPerCall = (std::numeric_limits<irr::u16>::max() + 1) / kCornersPerQuad;
constexpr irr::s32 kNoId = -1;

// The corners as the engine's billboard lays them out, and the two
// triangles it draws between them:
//   2--1
//   |\ |
//   | \|
//   3--0
constexpr irr::u16 kQuadIndices[kIndicesPerQuad] = {0, 2, 1, 0, 3, 2};
const irr::core::vector2df kCornerTexture[kCornersPerQuad] = {{1, 1}, {1, 0}, {0, 0}, {0, 1}};

// The directions every billboard of one size faces the camera with, worked
// out the way the engine's billboard node does, step for step, so that the
// corners come out the same to the last bit.
struct Facing {
    vector3df Horizontal;    // half the bottom edge
    vector3df TopHorizontal; // half the top edge
    vector3df Vertical;      // half the height, pointing down
    vector3df Normal;        // towards the camera
};

Facing facing(const irr::scene::ICameraSceneNode& camera, irr::f32 height, irr::f32 bottomEdge, irr::f32 topEdge) {
    const vector3df campos = camera.getAbsolutePosition();
    const vector3df up = camera.getUpVector();
    vector3df view = camera.getTarget() - campos;
    view.normalize();

    vector3df horizontal = up.crossProduct(view);
    if (horizontal.getLength() == 0)
        horizontal.set(up.Y, up.X, up.Z);
    horizontal.normalize();
    Facing f;
    f.TopHorizontal = horizontal * 0.5f * topEdge;
    horizontal *= 0.5f * bottomEdge;
    f.Horizontal = horizontal;
    f.Vertical = horizontal.crossProduct(view);
    f.Vertical.normalize();
    f.Vertical *= 0.5f * height;
    view *= -1.0f;
    f.Normal = view;
    return f;
}

} // namespace

SwarmNode::SwarmNode(irr::scene::ISceneManager* scene,
                     const std::vector<irr::scene::IBillboardSceneNode*>& billboards)
    : irr::scene::ISceneNode(scene->getRootSceneNode(), scene, kNoId) {
    setAutomaticCulling(irr::scene::EAC_OFF); // the balls are culled by the view, one by one
    for (irr::scene::IBillboardSceneNode* billboard : billboards)
        if (billboard && billboard->getMaterialCount() > 0)
            addToBatch(billboard);
    turnOffDepthWrites();
    layOutBuffers();
    drawInOnePass(true);
}

void SwarmNode::addToBatch(irr::scene::IBillboardSceneNode* billboard) {
    const irr::video::SMaterial& material = billboard->getMaterial(0);
    for (Batch& batch : Batches) {
        if (batch.Material == material && batch.Billboards.size() < kMostQuadsPerCall) {
            batch.Billboards.push_back(billboard);
            return;
        }
    }
    Batch& batch = Batches.emplace_back();
    batch.Material = material;
    batch.Billboards.push_back(billboard);
}

// The engine means transparent materials to be drawn without depth
// writes, but once a frame's clearing has turned them on, it leaves them on
// for a material that asks for them, as the billboards' material does.
// Drawn nearest last, one by one, billboards hardly notice; drawn in one
// pass, in any order, the nearer balls would hide the ones behind. So the
// swarm's material asks for none.
void SwarmNode::turnOffDepthWrites() {
    for (Batch& batch : Batches)
        batch.Material.ZWriteEnable = false;
}

// Every vertex and index the node will ever draw is allocated here; a
// frame only overwrites the corners. Indices count from a batch's first
// vertex, so one list serves every batch.
void SwarmNode::layOutBuffers() {
    std::size_t quads = 0;
    std::size_t largest = 0;
    for (Batch& batch : Batches) {
        batch.FirstVertex = quads * kCornersPerQuad;
        quads += batch.Billboards.size();
        largest = std::max(largest, batch.Billboards.size());
    }
    Vertices.assign(quads * kCornersPerQuad, irr::video::S3DVertex());
    for (std::size_t v = 0; v < Vertices.size(); ++v)
        Vertices[v].TCoords = kCornerTexture[v % kCornersPerQuad];
    Indices.resize(largest * kIndicesPerQuad);
    for (std::size_t q = 0; q < largest; ++q)
        for (std::size_t i = 0; i < kIndicesPerQuad; ++i)
            Indices[q * kIndicesPerQuad + i] = static_cast<irr::u16>(q * kCornersPerQuad + kQuadIndices[i]);
}

void SwarmNode::drawInOnePass(bool onePass) {
    setVisible(onePass);
    for (const Batch& batch : Batches)
        for (irr::scene::IBillboardSceneNode* billboard : batch.Billboards)
            billboard->setVisible(!onePass);
}

void SwarmNode::OnRegisterSceneNode() {
    if (IsVisible && !Batches.empty())
        SceneManager->registerNodeForRendering(this, irr::scene::ESNRP_TRANSPARENT);
    ISceneNode::OnRegisterSceneNode();
}

// The billboards are hidden, so the engine keeps no absolute position for
// them; under the scene's root their own position is that position.
void SwarmNode::faceCamera(const Batch& batch, const irr::scene::ICameraSceneNode& camera) {
    irr::f32 height = 0, bottomEdge = 0, topEdge = 0;
    Facing f{};
    bool known = false;
    irr::video::S3DVertex* corner = &Vertices[batch.FirstVertex];
    for (irr::scene::IBillboardSceneNode* billboard : batch.Billboards) {
        irr::f32 h = 0, bottom = 0, top = 0;
        billboard->getSize(h, bottom, top);
        if (!known || h != height || bottom != bottomEdge || top != topEdge) {
            height = h, bottomEdge = bottom, topEdge = top;
            f = facing(camera, height, bottomEdge, topEdge);
            known = true;
        }
        irr::video::SColor topColour, bottomColour;
        billboard->getColor(topColour, bottomColour);
        const vector3df pos = billboard->getPosition();
        corner[0].Pos = pos + f.Horizontal + f.Vertical;
        corner[1].Pos = pos + f.TopHorizontal - f.Vertical;
        corner[2].Pos = pos - f.TopHorizontal - f.Vertical;
        corner[3].Pos = pos - f.Horizontal + f.Vertical;
        corner[0].Color = corner[3].Color = bottomColour;
        corner[1].Color = corner[2].Color = topColour;
        for (std::size_t i = 0; i < kCornersPerQuad; ++i)
            corner[i].Normal = f.Normal;
        corner += kCornersPerQuad;
    }
}

void SwarmNode::render() {
    DrawCalls = 0;
    irr::video::IVideoDriver* driver = SceneManager->getVideoDriver();
    const irr::scene::ICameraSceneNode* camera = SceneManager->getActiveCamera();
    if (!camera || !driver)
        return;
    driver->setTransform(irr::video::ETS_WORLD, irr::core::IdentityMatrix);
    for (const Batch& batch : Batches) {
        faceCamera(batch, *camera);
        driver->setMaterial(batch.Material);
        driver->drawIndexedTriangleList(&Vertices[batch.FirstVertex],
                                        static_cast<irr::u32>(batch.Billboards.size() * kCornersPerQuad),
                                        Indices.data(), static_cast<irr::u32>(batch.Billboards.size() * 2));
        ++DrawCalls;
    }
}
