// A texture drawn as a grid of quads whose nodes can be displaced, tinted and
// given depth. Grids have at least 2 x 2 nodes (one cell).
#pragma once

#include "platform/hge.h"

enum {
    HGEDISP_NODE = 0,     // displacement from the node's own resting place
    HGEDISP_TOPLEFT = 1,  // position measured from the mesh's top-left corner
    HGEDISP_CENTER = 2    // position measured from the mesh centre
};

class hgeDistortionMesh {
public:
    hgeDistortionMesh(int cols, int rows);
    hgeDistortionMesh(const hgeDistortionMesh& dm);
    ~hgeDistortionMesh();
    hgeDistortionMesh& operator=(const hgeDistortionMesh& dm);

    void Render(float x, float y);
    void Clear(DWORD col = 0xFFFFFFFF, float z = 0.5f);

    void SetTexture(HTEXTURE tex) { quad.tex = tex; }
    void SetTextureRect(float x, float y, float w, float h);
    void SetBlendMode(int blend) { quad.blend = blend; }
    void SetZ(int col, int row, float z);
    void SetColor(int col, int row, DWORD color);
    void SetDisplacement(int col, int row, float dx, float dy, int ref);

    HTEXTURE GetTexture() const { return quad.tex; }
    void GetTextureRect(float* x, float* y, float* w, float* h) const;
    int GetBlendMode() const { return quad.blend; }
    float GetZ(int col, int row) const;
    DWORD GetColor(int col, int row) const;
    // Leaves dx, dy untouched for a node outside the grid.
    void GetDisplacement(int col, int row, float* dx, float* dy, int ref) const;

private:
    bool Valid(int col, int row) const { return col >= 0 && row >= 0 && col < nCols && row < nRows; }
    hgeVertex& Node(int col, int row) { return disp_array[row * nCols + col]; }
    const hgeVertex& Node(int col, int row) const { return disp_array[row * nCols + col]; }

    HGE* hge;
    hgeVertex* disp_array = nullptr;
    int nRows, nCols;
    float cellw = 0, cellh = 0;
    float tx = 0, ty = 0, width = 0, height = 0;
    hgeQuad quad;
};
