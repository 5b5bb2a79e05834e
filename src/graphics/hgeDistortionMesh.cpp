#include "graphics/hgeDistortionMesh.h"

#include <algorithm>

hgeDistortionMesh::hgeDistortionMesh(int cols, int rows) : hge(hgeCreate(HGE_VERSION)) {
    // A grid needs two nodes each way to hold one cell; fewer would divide the
    // texture rectangle by zero.
    nCols = std::max(cols, 2);
    nRows = std::max(rows, 2);
    disp_array = new hgeVertex[nRows * nCols];
    for (int i = 0; i < nRows * nCols; i++) {
        disp_array[i].x = disp_array[i].y = 0.0f;
        disp_array[i].tx = disp_array[i].ty = 0.0f;
        disp_array[i].z = 0.5f;
        disp_array[i].col = 0xFFFFFFFF;
    }
    quad.tex = 0;
    quad.blend = BLEND_COLORMUL | BLEND_ALPHABLEND | BLEND_ZWRITE;
}

hgeDistortionMesh::hgeDistortionMesh(const hgeDistortionMesh& dm) : hge(hgeCreate(HGE_VERSION)) { *this = dm; }

hgeDistortionMesh::~hgeDistortionMesh() {
    delete[] disp_array;
    hge->Release();
}

hgeDistortionMesh& hgeDistortionMesh::operator=(const hgeDistortionMesh& dm) {
    if (this == &dm) return *this;
    hgeVertex* copy = new hgeVertex[dm.nRows * dm.nCols];
    std::copy(dm.disp_array, dm.disp_array + dm.nRows * dm.nCols, copy);
    delete[] disp_array;
    disp_array = copy;
    nRows = dm.nRows;
    nCols = dm.nCols;
    cellw = dm.cellw;
    cellh = dm.cellh;
    tx = dm.tx;
    ty = dm.ty;
    width = dm.width;
    height = dm.height;
    quad = dm.quad;
    return *this;
}

void hgeDistortionMesh::SetTextureRect(float x, float y, float w, float h) {
    tx = x;
    ty = y;
    width = w;
    height = h;

    float tw = w, th = h;
    if (quad.tex) {
        tw = (float)hge->Texture_GetWidth(quad.tex);
        th = (float)hge->Texture_GetHeight(quad.tex);
    }
    if (tw == 0.0f) tw = 1.0f;
    if (th == 0.0f) th = 1.0f;

    cellw = w / (nCols - 1);
    cellh = h / (nRows - 1);
    for (int j = 0; j < nRows; j++) {
        for (int i = 0; i < nCols; i++) {
            hgeVertex& v = Node(i, j);
            v.tx = (i * cellw + x) / tw;
            v.ty = (j * cellh + y) / th;
            v.x = i * cellw;
            v.y = j * cellh;
        }
    }
}

void hgeDistortionMesh::GetTextureRect(float* x, float* y, float* w, float* h) const {
    *x = tx;
    *y = ty;
    *w = width;
    *h = height;
}

void hgeDistortionMesh::Clear(DWORD col, float z) {
    for (int j = 0; j < nRows; j++) {
        for (int i = 0; i < nCols; i++) {
            hgeVertex& v = Node(i, j);
            v.x = i * cellw;
            v.y = j * cellh;
            v.col = col;
            v.z = z;
        }
    }
}

void hgeDistortionMesh::SetZ(int col, int row, float z) {
    if (Valid(col, row)) Node(col, row).z = z;
}

void hgeDistortionMesh::SetColor(int col, int row, DWORD color) {
    if (Valid(col, row)) Node(col, row).col = color;
}

float hgeDistortionMesh::GetZ(int col, int row) const { return Valid(col, row) ? Node(col, row).z : 0.0f; }

DWORD hgeDistortionMesh::GetColor(int col, int row) const { return Valid(col, row) ? Node(col, row).col : 0; }

void hgeDistortionMesh::SetDisplacement(int col, int row, float dx, float dy, int ref) {
    if (!Valid(col, row)) return;
    switch (ref) {
        case HGEDISP_NODE:
            dx += col * cellw;
            dy += row * cellh;
            break;
        case HGEDISP_CENTER:
            dx += cellw * (nCols - 1) / 2;
            dy += cellh * (nRows - 1) / 2;
            break;
        default:
            break;
    }
    Node(col, row).x = dx;
    Node(col, row).y = dy;
}

void hgeDistortionMesh::GetDisplacement(int col, int row, float* dx, float* dy, int ref) const {
    if (!Valid(col, row)) return;
    const hgeVertex& v = Node(col, row);
    switch (ref) {
        case HGEDISP_NODE:
            *dx = v.x - col * cellw;
            *dy = v.y - row * cellh;
            break;
        case HGEDISP_CENTER:
            *dx = v.x - cellw * (nCols - 1) / 2;
            *dy = v.y - cellh * (nRows - 1) / 2;
            break;
        default:
            *dx = v.x;
            *dy = v.y;
            break;
    }
}

void hgeDistortionMesh::Render(float x, float y) {
    for (int j = 0; j < nRows - 1; j++) {
        for (int i = 0; i < nCols - 1; i++) {
            const hgeVertex* corners[4] = {&Node(i, j), &Node(i + 1, j), &Node(i + 1, j + 1), &Node(i, j + 1)};
            for (int k = 0; k < 4; k++) {
                quad.v[k] = *corners[k];
                quad.v[k].x += x;
                quad.v[k].y += y;
            }
            hge->Gfx_RenderQuad(&quad);
        }
    }
}
