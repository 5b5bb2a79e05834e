#include "platform/GlFunctions.h"

#include <SDL.h>

namespace {

template <class T>
bool Fetch(T& fn, const char* name, const char*& missing) {
    fn = reinterpret_cast<T>(SDL_GL_GetProcAddress(name));
    if (!fn && !missing) missing = name;
    return fn != nullptr;
}

}  // namespace

bool GlFunctions::Load(const char*& missing) {
    missing = nullptr;
    bool ok = true;
    ok &= Fetch(CreateShader, "glCreateShader", missing);
    ok &= Fetch(ShaderSource, "glShaderSource", missing);
    ok &= Fetch(CompileShader, "glCompileShader", missing);
    ok &= Fetch(GetShaderiv, "glGetShaderiv", missing);
    ok &= Fetch(GetShaderInfoLog, "glGetShaderInfoLog", missing);
    ok &= Fetch(DeleteShader, "glDeleteShader", missing);
    ok &= Fetch(CreateProgram, "glCreateProgram", missing);
    ok &= Fetch(AttachShader, "glAttachShader", missing);
    ok &= Fetch(BindAttribLocation, "glBindAttribLocation", missing);
    ok &= Fetch(LinkProgram, "glLinkProgram", missing);
    ok &= Fetch(GetProgramiv, "glGetProgramiv", missing);
    ok &= Fetch(GetProgramInfoLog, "glGetProgramInfoLog", missing);
    ok &= Fetch(DeleteProgram, "glDeleteProgram", missing);
    ok &= Fetch(UseProgram, "glUseProgram", missing);
    ok &= Fetch(GetUniformLocation, "glGetUniformLocation", missing);
    ok &= Fetch(Uniform1i, "glUniform1i", missing);
    ok &= Fetch(Uniform2f, "glUniform2f", missing);
    ok &= Fetch(ActiveTexture, "glActiveTexture", missing);
    ok &= Fetch(VertexAttribPointer, "glVertexAttribPointer", missing);
    ok &= Fetch(EnableVertexAttribArray, "glEnableVertexAttribArray", missing);
    ok &= Fetch(DisableVertexAttribArray, "glDisableVertexAttribArray", missing);
    return ok;
}
