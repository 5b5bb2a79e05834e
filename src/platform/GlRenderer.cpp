#include "platform/GlRenderer.h"

#include <algorithm>
#include <cstddef>

#include "platform/Texture.h"

namespace {

const char* const kVertexShader = R"(#version 120
attribute vec2 a_pos;
attribute vec4 a_col;
attribute vec2 a_uv;
attribute vec2 a_muv;
uniform vec2 u_screen;
varying vec4 v_col;
varying vec2 v_uv;
varying vec2 v_muv;
void main() {
    gl_Position = vec4(a_pos.x / u_screen.x * 2.0 - 1.0, 1.0 - a_pos.y / u_screen.y * 2.0, 0.0, 1.0);
    v_col = a_col.zyxw;  // ARGB words arrive as the bytes B, G, R, A
    v_uv = a_uv;
    v_muv = a_muv;
}
)";

const char* const kFragmentShader = R"(#version 120
uniform sampler2D u_tex;
uniform sampler2D u_mask;
uniform bool u_useTex;
uniform bool u_colorAdd;
uniform bool u_useMask;
varying vec4 v_col;
varying vec2 v_uv;
varying vec2 v_muv;
void main() {
    vec4 t = u_useTex ? texture2D(u_tex, v_uv) : vec4(1.0);
    vec4 c = u_colorAdd ? vec4(min(t.rgb + v_col.rgb, vec3(1.0)), t.a * v_col.a) : t * v_col;
    if (u_useMask) {
        if (v_muv.x < 0.0 || v_muv.y < 0.0 || v_muv.x >= 1.0 || v_muv.y >= 1.0)
            c.a = 0.0;
        else
            c.a *= texture2D(u_mask, v_muv).a;
    }
    gl_FragColor = c;
}
)";

enum Attrib { kPos = 0, kCol = 1, kUv = 2, kMuv = 3 };

}  // namespace

bool GlRenderer::Create(int screenW, int screenH, std::string& error) {
    const char* missing = nullptr;
    if (!gl.Load(missing)) {
        error = std::string("OpenGL 2.0 function missing: ") + missing;
        return false;
    }
    m_screenW = screenW;
    m_screenH = screenH;

    auto compile = [&](GLenum type, const char* src) -> GLuint {
        GLuint s = gl.CreateShader(type);
        gl.ShaderSource(s, 1, &src, nullptr);
        gl.CompileShader(s);
        GLint ok = 0;
        gl.GetShaderiv(s, GL_COMPILE_STATUS, &ok);
        if (!ok) {
            char log[1024] = {};
            gl.GetShaderInfoLog(s, sizeof log, nullptr, log);
            error = std::string("shader: ") + log;
            gl.DeleteShader(s);
            return 0;
        }
        return s;
    };
    const GLuint vs = compile(GL_VERTEX_SHADER, kVertexShader);
    if (!vs) return false;
    const GLuint fs = compile(GL_FRAGMENT_SHADER, kFragmentShader);
    if (!fs) {
        gl.DeleteShader(vs);
        return false;
    }
    m_program = gl.CreateProgram();
    gl.AttachShader(m_program, vs);
    gl.AttachShader(m_program, fs);
    gl.BindAttribLocation(m_program, kPos, "a_pos");
    gl.BindAttribLocation(m_program, kCol, "a_col");
    gl.BindAttribLocation(m_program, kUv, "a_uv");
    gl.BindAttribLocation(m_program, kMuv, "a_muv");
    gl.LinkProgram(m_program);
    gl.DeleteShader(vs);
    gl.DeleteShader(fs);
    GLint linked = 0;
    gl.GetProgramiv(m_program, GL_LINK_STATUS, &linked);
    if (!linked) {
        char log[1024] = {};
        gl.GetProgramInfoLog(m_program, sizeof log, nullptr, log);
        error = std::string("shader link: ") + log;
        gl.DeleteProgram(m_program);
        m_program = 0;
        return false;
    }
    gl.UseProgram(m_program);
    m_uUseTex = gl.GetUniformLocation(m_program, "u_useTex");
    m_uColorAdd = gl.GetUniformLocation(m_program, "u_colorAdd");
    m_uUseMask = gl.GetUniformLocation(m_program, "u_useMask");
    m_uTex = gl.GetUniformLocation(m_program, "u_tex");
    m_uMask = gl.GetUniformLocation(m_program, "u_mask");
    m_uScreen = gl.GetUniformLocation(m_program, "u_screen");
    gl.Uniform1i(m_uTex, 0);
    gl.Uniform1i(m_uMask, 1);
    gl.Uniform2f(m_uScreen, float(screenW), float(screenH));

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    for (GLuint a : {kPos, kCol, kUv, kMuv}) gl.EnableVertexAttribArray(a);
    m_vertices.reserve(6 * 4096);
    return true;
}

void GlRenderer::Destroy() {
    if (m_program) {
        gl.UseProgram(0);
        gl.DeleteProgram(m_program);
        m_program = 0;
    }
}

void GlRenderer::SetDrawableSize(int w, int h) {
    m_drawW = std::max(w, 1);
    m_drawH = std::max(h, 1);
    m_fit = ScreenFit::Compute(m_screenW, m_screenH, m_drawW, m_drawH);
}

void GlRenderer::BeginFrame() {
    // Bars beside a scaled screen stay black.
    glDisable(GL_SCISSOR_TEST);
    glViewport(0, 0, m_drawW, m_drawH);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(m_fit.left, m_drawH - m_fit.top - m_fit.height, m_fit.width, m_fit.height);
    ApplyScissor();
}

void GlRenderer::Clear(unsigned argb) {
    glClearColor(float((argb >> 16) & 0xFF) / 255.0f, float((argb >> 8) & 0xFF) / 255.0f, float(argb & 0xFF) / 255.0f,
                 float(argb >> 24) / 255.0f);
    // The whole screen when there is no clipping: the scissor keeps the bars black.
    if (!m_clip.on) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(m_fit.left, m_drawH - m_fit.top - m_fit.height, m_fit.width, m_fit.height);
    }
    glClear(GL_COLOR_BUFFER_BIT);
    ApplyScissor();
}

void GlRenderer::SetClipping(const ClipRect& clip) {
    m_clip = clip;
    ApplyScissor();
}

void GlRenderer::ApplyScissor() {
    if (!m_clip.on) {
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    glEnable(GL_SCISSOR_TEST);
    int x = 0, y = 0, w = 0, h = 0;
    m_fit.RectToDrawable(m_clip.x, m_clip.y, m_clip.w, m_clip.h, x, y, w, h);
    glScissor(x, m_drawH - y - h, w, h);  // GL counts rows from the bottom
}

void GlRenderer::Draw(const BatchKey& key, const hgeQuad* quads, int count, const Texture* tex,
                      const Texture* mask) {
    if (!m_program || count <= 0) return;
    const float texW = tex ? float(tex->width) : 1.0f, texH = tex ? float(tex->height) : 1.0f;
    const float maskW = mask ? float(mask->width) : 1.0f, maskH = mask ? float(mask->height) : 1.0f;

    m_vertices.resize(size_t(count) * 6);
    Vertex* out = m_vertices.data();
    static const int kOrder[6] = {0, 1, 2, 0, 2, 3};
    for (int q = 0; q < count; ++q) {
        const hgeQuad& quad = quads[q];
        // The mask is laid in first-texture texels from the rectangle's top-left.
        float left = quad.v[0].tx, top = quad.v[0].ty;
        for (int i = 1; i < 4; ++i) {
            left = std::min(left, quad.v[i].tx);
            top = std::min(top, quad.v[i].ty);
        }
        for (int k = 0; k < 6; ++k) {
            const hgeVertex& v = quad.v[kOrder[k]];
            Vertex& o = *out++;
            o.x = v.x;
            o.y = v.y;
            o.col = v.col;
            o.u = v.tx;
            o.v = v.ty;
            o.mu = ((v.tx - left) * texW - quad.tx2Offset) / maskW;
            o.mv = ((v.ty - top) * texH - quad.ty2Offset) / maskH;
        }
    }

    gl.Uniform1i(m_uUseTex, tex && tex->gpuName ? 1 : 0);
    gl.Uniform1i(m_uColorAdd, (key.blend & BLEND_COLORADD) ? 1 : 0);
    gl.Uniform1i(m_uUseMask, mask && mask->gpuName ? 1 : 0);
    if (mask && mask->gpuName) {
        gl.ActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, mask->gpuName);
        gl.ActiveTexture(GL_TEXTURE0);
    }
    glBindTexture(GL_TEXTURE_2D, tex ? tex->gpuName : 0);
    if (key.blend & BLEND_ALPHABLEND)
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    else
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);

    const GLsizei stride = sizeof(Vertex);
    const char* base = reinterpret_cast<const char*>(m_vertices.data());
    gl.VertexAttribPointer(kPos, 2, GL_FLOAT, GL_FALSE, stride, base + offsetof(Vertex, x));
    gl.VertexAttribPointer(kCol, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, base + offsetof(Vertex, col));
    gl.VertexAttribPointer(kUv, 2, GL_FLOAT, GL_FALSE, stride, base + offsetof(Vertex, u));
    gl.VertexAttribPointer(kMuv, 2, GL_FLOAT, GL_FALSE, stride, base + offsetof(Vertex, mu));
    glDrawArrays(GL_TRIANGLES, 0, count * 6);
}

void GlRenderer::Upload(Texture& tex) {
    if (tex.width <= 0 || tex.height <= 0) return;
    const bool fresh = tex.gpuName == 0;
    if (fresh) {
        GLuint name = 0;
        glGenTextures(1, &name);
        tex.gpuName = name;
    }
    glBindTexture(GL_TEXTURE_2D, tex.gpuName);
    if (fresh) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, tex.width, tex.height, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                     tex.pixels.data());
    } else {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, tex.width, tex.height, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                        tex.pixels.data());
    }
}

void GlRenderer::Release(Texture& tex) {
    if (tex.gpuName) {
        GLuint name = tex.gpuName;
        glDeleteTextures(1, &name);
        tex.gpuName = 0;
    }
}

bool GlRenderer::ReadScreen(int& w, int& h, std::vector<uint32_t>& argb) {
    const int x0 = m_fit.left, y0 = m_fit.top;
    w = m_fit.width;
    h = m_fit.height;
    if (w <= 0 || h <= 0) return false;
    std::vector<uint32_t> rows(size_t(w) * size_t(h));
    glReadPixels(x0, m_drawH - y0 - h, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
    if (glGetError() != GL_NO_ERROR) return false;
    argb.resize(rows.size());
    for (int y = 0; y < h; ++y)  // GL's rows run bottom up
        for (int x = 0; x < w; ++x)
            argb[size_t(y) * size_t(w) + size_t(x)] = rows[size_t(h - 1 - y) * size_t(w) + size_t(x)] | 0xFF000000u;
    return true;
}
