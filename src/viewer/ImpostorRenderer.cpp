#include "viewer/ImpostorRenderer.h"

#include "viewer/GLRenderer.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLShaderProgram>

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

namespace ormaline {
namespace {

// Attribute locations shared by both programs. Location 0 is the per-vertex corner (a
// compatibility context draws only with attribute 0 enabled).
enum TAttribute : GLuint {
    aCorner = 0,
    aFrom = 1, // sphere: centre and radius; cylinder: first end and radius
    aDiffuse = 2,
    aAmbient = 3,
    aSpecular = 4,
    aEmission = 5,
    aTo = 6, // cylinder: second end
};

// What both programs share: the eye ray of a pixel, the pixel scale, the fixed-function
// light with fog, and the depth of a surface point.
constexpr char kCommon[] = R"(
uniform vec2 u_viewport;   // pixels
uniform vec4 u_frustum;    // left, right, bottom, top of the view volume at the near plane
uniform float u_near;
uniform float u_perspective;
uniform float u_radiusScale; // model units to GL units (1 / mas)
uniform float u_fog;
float PixelsPerUnit(float eyeZ) {
    float s = u_viewport.y / (u_frustum.w - u_frustum.z);
    return u_perspective > 0.5 ? s * u_near / max(-eyeZ, 1e-6) : s;
}
// Fixed-function lighting of light 0 (viewer at infinity, shininess 100), then fog.
vec4 Shade(vec3 n, vec3 p, vec4 diffuse, vec4 ambient, vec4 specular, vec4 emission) {
    vec4 lp = gl_LightSource[0].position;
    vec3 l = lp.w == 0.0 ? normalize(lp.xyz) : normalize(lp.xyz - p);
    float nl = max(dot(n, l), 0.0);
    float nh = max(dot(n, normalize(l + vec3(0.0, 0.0, 1.0))), 0.0);
    float shine = nl > 0.0 ? pow(nh, 100.0) : 0.0;
    vec3 c = emission.rgb + gl_LightModel.ambient.rgb * ambient.rgb
           + gl_LightSource[0].ambient.rgb * ambient.rgb
           + nl * gl_LightSource[0].diffuse.rgb * diffuse.rgb
           + shine * gl_LightSource[0].specular.rgb * specular.rgb;
    c = clamp(c, 0.0, 1.0);
    if (u_fog > 0.5) {
        float f = clamp((gl_Fog.end - abs(p.z)) * gl_Fog.scale, 0.0, 1.0);
        c = mix(gl_Fog.color.rgb, c, f);
    }
    return vec4(c, diffuse.a);
}
)";

constexpr char kVertexCommon[] = R"(
vec2 Pixel(vec4 eye, out float depth) {
    vec4 clip = gl_ProjectionMatrix * eye;
    vec3 ndc = clip.xyz / clip.w;
    depth = ndc.z;
    return (ndc.xy * 0.5 + 0.5) * u_viewport;
}
// A quad that bounds the silhouette takes every pixel whose centre the surface covers.
// Orthographic silhouettes are the projected radius wide; perspective ones stretch
// towards the edges of the view, at most by a quarter within the viewer's field.
float Widening() {
    return u_perspective > 0.5 ? 1.25 : 1.0;
}
vec4 ClipOfPixel(vec2 pixel, float depth) {
    return vec4(pixel / u_viewport * 2.0 - 1.0, clamp(depth, -0.999, 0.999), 1.0);
}
)";

constexpr char kFragmentCommon[] = R"(
varying vec4 v_diffuse, v_ambient, v_specular, v_emission;
// The eye ray through this pixel, started at its closest approach to `near`, so that the
// intersection arithmetic works on small numbers.
void Ray(vec3 near, out vec3 origin, out vec3 direction) {
    vec2 f = gl_FragCoord.xy / u_viewport;
    vec2 plane = vec2(mix(u_frustum.x, u_frustum.y, f.x), mix(u_frustum.z, u_frustum.w, f.y));
    if (u_perspective > 0.5) {
        origin = vec3(0.0);
        direction = normalize(vec3(plane, -u_near));
    } else {
        origin = vec3(plane, 0.0);
        direction = vec3(0.0, 0.0, -1.0);
    }
    origin += direction * dot(near - origin, direction);
}
// A surface point beyond the near or far plane is clipped away, as a mesh would be.
void Finish(vec3 n, vec3 p) {
    vec4 clip = gl_ProjectionMatrix * vec4(p, 1.0);
    float depth = 0.5 * clip.z / clip.w + 0.5;
    if (depth < 0.0 || depth > 1.0)
        discard;
    gl_FragDepth = depth;
    gl_FragColor = Shade(n, p, v_diffuse, v_ambient, v_specular, v_emission);
}
)";

constexpr char kMaterialVarying[] = R"(
attribute vec4 a_diffuse, a_ambient, a_specular, a_emission;
varying vec4 v_diffuse, v_ambient, v_specular, v_emission;
void PassMaterial() {
    v_diffuse = a_diffuse;
    v_ambient = a_ambient;
    v_specular = a_specular;
    v_emission = a_emission;
}
)";

constexpr char kSphereVertex[] = R"(
attribute vec2 a_corner;
attribute vec4 a_from;
varying vec3 v_centre;
varying float v_radius;
varying float v_point;
void main() {
    PassMaterial();
    vec4 eye = gl_ModelViewMatrix * vec4(a_from.xyz, 1.0);
    v_centre = eye.xyz;
    v_radius = a_from.w * u_radiusScale;
    float depth;
    vec2 centre = Pixel(eye, depth);
    float radius = v_radius * PixelsPerUnit(eye.z);
    float halfSide;
    if (radius < 1.0) {
        // Under two pixels across: a point of one or two pixels.
        v_point = 1.0;
        halfSide = 2.0 * radius < 1.5 ? 0.5 : 1.0;
    } else {
        v_point = 0.0;
        halfSide = radius * Widening() + 0.01;
    }
    gl_Position = ClipOfPixel(centre + a_corner * halfSide, depth);
}
)";

constexpr char kSphereFragment[] = R"(
varying vec3 v_centre;
varying float v_radius;
varying float v_point;
void main() {
    if (v_point > 0.5) {
        Finish(vec3(0.0, 0.0, 1.0), v_centre + vec3(0.0, 0.0, v_radius));
        return;
    }
    vec3 origin, direction;
    Ray(v_centre, origin, direction);
    vec3 oc = origin - v_centre;
    float b = dot(oc, direction);
    float h = b * b - dot(oc, oc) + v_radius * v_radius;
    if (h < 0.0)
        discard;
    vec3 p = origin + (-b - sqrt(h)) * direction;
    Finish((p - v_centre) / v_radius, p);
}
)";

constexpr char kCylinderVertex[] = R"(
attribute vec2 a_corner; // x: which end (0, 1), y: which side (-1, 1)
attribute vec4 a_from;
attribute vec3 a_to;
varying vec3 v_from, v_to;
varying float v_radius;
void main() {
    PassMaterial();
    vec4 a = gl_ModelViewMatrix * vec4(a_from.xyz, 1.0);
    vec4 b = gl_ModelViewMatrix * vec4(a_to, 1.0);
    v_from = a.xyz;
    v_to = b.xyz;
    v_radius = a_from.w * u_radiusScale;
    float depthA, depthB;
    vec2 pa = Pixel(a, depthA), pb = Pixel(b, depthB);
    float width = v_radius * max(PixelsPerUnit(a.z), PixelsPerUnit(b.z)) * Widening() + 0.01;
    vec2 d = pb - pa;
    float length = length(d);
    d = length > 1e-4 ? d / length : vec2(1.0, 0.0);
    vec2 across = vec2(-d.y, d.x) * a_corner.y * width;
    if (a_corner.x < 0.5)
        gl_Position = ClipOfPixel(pa - d * width + across, depthA);
    else
        gl_Position = ClipOfPixel(pb + d * width + across, depthB);
}
)";

constexpr char kCylinderFragment[] = R"(
varying vec3 v_from, v_to;
varying float v_radius;
void main() {
    vec3 origin, direction;
    Ray(0.5 * (v_from + v_to), origin, direction);
    vec3 axis = v_to - v_from;
    vec3 oc = origin - v_from;
    float aa = dot(axis, axis);
    float ad = dot(axis, direction);
    float ao = dot(axis, oc);
    float k2 = aa - ad * ad;
    float k1 = aa * dot(oc, direction) - ao * ad;
    float k0 = aa * dot(oc, oc) - ao * ao - v_radius * v_radius * aa;
    float h = k1 * k1 - k2 * k0;
    // Looking along the axis only the open ends would show: nothing is drawn there.
    if (h < 0.0 || k2 <= 1e-12 * aa)
        discard;
    float t = (-k1 - sqrt(h)) / k2;
    float along = ao + t * ad;
    if (along < 0.0 || along > aa)
        discard;
    vec3 p = origin + t * direction;
    Finish((oc + t * direction - axis * along / aa) / v_radius, p);
}
)";

// Small spheres: square points of the disc's area (at least one pixel) in the colour of
// the sphere's centre facing the viewer, lit per vertex without the highlight (which the
// facets of a small mesh sphere do not show either).
constexpr char kPointVertex[] = R"(
attribute vec4 a_from;
varying vec4 v_colour;
void main() {
    vec4 eye = gl_ModelViewMatrix * vec4(a_from.xyz, 1.0);
    float radius = a_from.w * u_radiusScale;
    gl_PointSize = max(1.0, floor(1.7724539 * radius * PixelsPerUnit(eye.z) + 0.5));
    vec3 front = eye.xyz + vec3(0.0, 0.0, radius);
    gl_Position = gl_ProjectionMatrix * vec4(front, 1.0);
    v_colour = Shade(vec3(0.0, 0.0, 1.0), front, a_diffuse, a_ambient, vec4(0.0), a_emission);
}
)";

// Thin cylinders: lines in the colour of the cylinder's side facing the viewer, lit per
// vertex without the highlight.
constexpr char kLineVertex[] = R"(
attribute vec2 a_corner; // x: which end (0, 1)
attribute vec4 a_from;
attribute vec3 a_to;
varying vec4 v_colour;
void main() {
    vec3 a = (gl_ModelViewMatrix * vec4(a_from.xyz, 1.0)).xyz;
    vec3 b = (gl_ModelViewMatrix * vec4(a_to, 1.0)).xyz;
    vec3 p = a_corner.x < 0.5 ? a : b;
    vec3 axis = b - a;
    float length = length(axis);
    vec3 n = vec3(0.0, 0.0, 1.0);
    if (length > 0.0) {
        axis /= length;
        vec3 facing = n - axis * axis.z;
        n = dot(facing, facing) > 1e-12 ? normalize(facing) : vec3(1.0, 0.0, 0.0);
    }
    gl_Position = gl_ProjectionMatrix * vec4(p, 1.0);
    v_colour = Shade(n, p, a_diffuse, a_ambient, vec4(0.0), a_emission);
}
)";

constexpr char kColourFragment[] = R"(
varying vec4 v_colour;
void main() {
    gl_FragColor = v_colour;
}
)";

QOpenGLFunctions* Functions() {
    QOpenGLContext* context = QOpenGLContext::currentContext();
    return context == nullptr ? nullptr : context->functions();
}

std::unique_ptr<QOpenGLShaderProgram> MakeProgram(const char* vertex, const char* fragment,
                                                  bool rayCast) {
    auto program = std::make_unique<QOpenGLShaderProgram>();
    const QByteArray header = "#version 120\n";
    const QByteArray vertexSource = header + kCommon + kVertexCommon + kMaterialVarying + vertex;
    const QByteArray fragmentSource =
        header + kCommon + (rayCast ? kFragmentCommon : "") + fragment;
    if (!program->addShaderFromSourceCode(QOpenGLShader::Vertex, vertexSource) ||
        !program->addShaderFromSourceCode(QOpenGLShader::Fragment, fragmentSource))
        return nullptr;
    program->bindAttributeLocation("a_corner", aCorner);
    program->bindAttributeLocation("a_from", aFrom);
    program->bindAttributeLocation("a_diffuse", aDiffuse);
    program->bindAttributeLocation("a_ambient", aAmbient);
    program->bindAttributeLocation("a_specular", aSpecular);
    program->bindAttributeLocation("a_emission", aEmission);
    program->bindAttributeLocation("a_to", aTo);
    if (!program->link())
        return nullptr;
    return program;
}

// Model space to GL units: the view rotation and shift, the offset gl_, the screen axis
// order and the division by mas (column-major), as the renderer places its meshes.
void ModelToGl(const TLVScene& scene, double (&view)[16]) {
    const TLatvistaOpt& o = scene.WLVO;
    const int order[3] = {o.L1, o.L2, o.L3};
    std::fill(std::begin(view), std::end(view), 0.0);
    for (std::size_t row = 0; row < 3; ++row) {
        const auto from = static_cast<std::size_t>(std::clamp(order[row], 1, 3) - 1);
        for (std::size_t column = 0; column < 3; ++column)
            view[column * 4 + row] = scene.WMatrRotor[from][column] / scene.mas;
        view[12 + row] =
            (static_cast<double>(scene.gl_[from]) + scene.WDeltaCoord[from]) / scene.mas;
    }
    view[15] = 1.0;
}

void FillBuffer(QOpenGLFunctions& gl, unsigned& name, std::size_t& capacity, const void* data,
                std::size_t bytes) {
    if (name == 0) {
        gl.glGenBuffers(1, &name);
        capacity = 0;
    }
    gl.glBindBuffer(GL_ARRAY_BUFFER, name);
    // The storage is written over in place only when the size stays: Mesa's discarding
    // driver (GALLIUM_NOOP) faults on a partial write, and a new storage of the new size
    // spares a GPU the wait for the frames still drawing from the old one.
    if (bytes == capacity && bytes > 0) {
        gl.glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes), data);
    } else {
        gl.glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
        capacity = bytes;
    }
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
}

} // namespace

const char* const TImpostorRenderer::kNoShadersNotice =
    "Large structure drawn without the fast drawing: OpenGL has no shaders here.";

TImpostorRenderer::TImpostorRenderer() = default;
TImpostorRenderer::~TImpostorRenderer() = default;

bool TImpostorRenderer::Wanted(const TLatvistaOpt& options, std::size_t visibleAtoms) {
    return options.FastDrawAtoms > 0 &&
           visibleAtoms >= static_cast<std::size_t>(options.FastDrawAtoms);
}

bool TImpostorRenderer::Prepare() {
    if (state_ != TState::Untried)
        return state_ == TState::Ready;
    state_ = TState::Missing;
    QOpenGLContext* context = QOpenGLContext::currentContext();
    if (refused_ || context == nullptr || !QOpenGLShaderProgram::hasOpenGLShaderPrograms(context)) {
        noticePending_ = true;
        return false;
    }
    spheres_ = MakeProgram(kSphereVertex, kSphereFragment, true);
    cylinders_ = MakeProgram(kCylinderVertex, kCylinderFragment, true);
    points_ = MakeProgram(kPointVertex, kColourFragment, false);
    lines_ = MakeProgram(kLineVertex, kColourFragment, false);
    QOpenGLFunctions* gl = Functions();
    if (!spheres_ || !cylinders_ || !points_ || !lines_ || gl == nullptr) {
        spheres_.reset();
        cylinders_.reset();
        points_.reset();
        lines_.reset();
        noticePending_ = true;
        return false;
    }
    state_ = TState::Ready;
    return true;
}

void TImpostorRenderer::ReleaseGL() {
    if (QOpenGLFunctions* gl = Functions()) {
        for (TBuffer& buffer : buffers_)
            if (buffer.name != 0)
                gl->glDeleteBuffers(1, &buffer.name);
    }
    for (TBuffer& buffer : buffers_)
        buffer = {};
    spheres_.reset();
    cylinders_.reset();
    points_.reset();
    lines_.reset();
    uploadedValid_ = false;
    if (state_ == TState::Ready)
        state_ = TState::Untried;
}

std::optional<std::string> TImpostorRenderer::TakeNotice() {
    if (!noticePending_)
        return std::nullopt;
    noticePending_ = false;
    return std::string(kNoShadersNotice);
}

bool TImpostorRenderer::DrawFrame(TGLRenderer& renderer, TLVScene& scene,
                                  const TViewColours& colours, const TProjection& projection,
                                  int width, int height) {
    if (!Prepare())
        return false;
    if (frames_.Gather(scene, colours, width, height, projection.perspective ? 0.0 : scene.CoeffDX))
        ++fullGathers_;
    Upload();
    DrawImpostors(scene, projection, width, height);
    DrawLinesAndPoints();
    if (!Frame().labels.empty()) {
        renderer.SetColFont(colours.PenColor);
        for (const TFrameLabel& label : Frame().labels)
            renderer.TextOut3D(label.x, label.y, label.z, label.text);
    }
    renderer.ForgetGLState();
    return true;
}

namespace {

// Every item once per corner of its primitive, each copy followed by its corner: the
// software rasteriser runs its vertex stage once per instance of an instanced draw, so
// plain vertex arrays draw many small primitives far faster.
template <typename T>
void Expand(const std::vector<T>& items, const float* corners, std::size_t cornerCount,
            std::vector<unsigned char>& out) {
    constexpr std::size_t stride = sizeof(T) + 2 * sizeof(float);
    out.resize(items.size() * cornerCount * stride);
    unsigned char* at = out.data();
    for (const T& item : items)
        for (std::size_t corner = 0; corner < cornerCount; ++corner, at += stride) {
            std::memcpy(at, &item, sizeof(T));
            std::memcpy(at + sizeof(T), corners + 2 * corner, 2 * sizeof(float));
        }
}

// Corners in the order of the primitives: the sphere's square and the cylinder's
// rectangle as quads (x: which end, y: which side for a cylinder), a line's two ends.
constexpr float kSquare[8] = {-1, -1, 1, -1, 1, 1, -1, 1};
constexpr float kRectangle[8] = {0, -1, 1, -1, 1, 1, 0, 1};
constexpr float kEnds[4] = {0, 0, 1, 0};

} // namespace

void TImpostorRenderer::Upload() {
    QOpenGLFunctions* gl = Functions();
    if (gl == nullptr)
        return;
    bool any = false;
    const auto fill = [&](TBuffer& buffer, const auto& tracked, const float* corners,
                          std::size_t cornerCount) {
        if (uploadedValid_ && !tracked.Changed())
            return;
        const auto& items = tracked.Items();
        if (corners != nullptr) {
            Expand(items, corners, cornerCount, vertices_);
            FillBuffer(*gl, buffer.name, buffer.capacity, vertices_.data(), vertices_.size());
        } else {
            FillBuffer(*gl, buffer.name, buffer.capacity, items.data(),
                       items.size() * sizeof(items.front()));
        }
        any = true;
    };
    fill(buffers_[0], Frame().spheres, kSquare, 4);
    fill(buffers_[1], Frame().points, nullptr, 1);
    fill(buffers_[2], Frame().cylinders, kRectangle, 4);
    fill(buffers_[3], Frame().thinCylinders, kEnds, 2);
    uploadedValid_ = true;
    uploads_ += any ? 1 : 0;
    // The vertices of a scene of a million atoms would hold hundreds of megabytes between
    // edits; they are taken afresh.
    constexpr std::size_t kKeptVertexBytes = std::size_t{64} << 20;
    if (vertices_.capacity() > kKeptVertexBytes)
        vertices_ = {};
}

void TImpostorRenderer::DrawImpostors(const TLVScene& scene, const TProjection& projection,
                                      int width, int height) {
    QOpenGLFunctions* gl = Functions();
    const std::size_t counts[4] = {Frame().spheres.Items().size(), Frame().points.Items().size(),
                                   Frame().cylinders.Items().size(),
                                   Frame().thinCylinders.Items().size()};
    if (gl == nullptr || counts[0] + counts[1] + counts[2] + counts[3] == 0)
        return;
    double view[16];
    ModelToGl(scene, view);
    glPushMatrix();
    glMultMatrixd(view);
    // The quads face the viewer whatever the axis order; the rays decide what shows.
    const GLboolean culling = glIsEnabled(GL_CULL_FACE);
    const GLboolean smoothLines = glIsEnabled(GL_LINE_SMOOTH);
    glDisable(GL_CULL_FACE);
    const bool fog = glIsEnabled(GL_FOG) == GL_TRUE;
    const auto use = [&](QOpenGLShaderProgram& program) {
        program.bind();
        program.setUniformValue("u_viewport", static_cast<float>(width),
                                static_cast<float>(height));
        program.setUniformValue(
            "u_frustum", static_cast<float>(projection.left), static_cast<float>(projection.right),
            static_cast<float>(projection.bottom), static_cast<float>(projection.top));
        program.setUniformValue("u_near", static_cast<float>(projection.nearZ));
        program.setUniformValue("u_perspective", projection.perspective ? 1.0f : 0.0f);
        program.setUniformValue("u_radiusScale", static_cast<float>(1.0 / scene.mas));
        program.setUniformValue("u_fog", fog ? 1.0f : 0.0f);
    };
    const auto attribute = [&](GLuint location, int size, GLenum type, GLsizei stride,
                               std::size_t offset) {
        gl->glEnableVertexAttribArray(location);
        gl->glVertexAttribPointer(location, size, type,
                                  type == GL_UNSIGNED_BYTE ? GL_TRUE : GL_FALSE, stride,
                                  reinterpret_cast<const void*>(offset));
    };
    // The vertices of one buffer: the item's fields, then (unless `cornered` is false)
    // the corner. Without a corner, attribute 0 takes the position (it must be an array).
    const auto vertices = [&](const TBuffer& buffer, bool cylinder, bool cornered) {
        gl->glBindBuffer(GL_ARRAY_BUFFER, buffer.name);
        const std::size_t size = cylinder ? sizeof(TImpostorCylinder) : sizeof(TImpostorSphere);
        const auto stride = static_cast<GLsizei>(size + (cornered ? 2 * sizeof(float) : 0));
        const std::size_t material =
            cylinder ? offsetof(TImpostorCylinder, material) : offsetof(TImpostorSphere, material);
        attribute(aFrom, 4, GL_FLOAT, stride, 0);
        if (cylinder)
            attribute(aTo, 3, GL_FLOAT, stride, offsetof(TImpostorCylinder, toX));
        const GLuint materials[4] = {aDiffuse, aAmbient, aSpecular, aEmission};
        for (std::size_t i = 0; i < 4; ++i)
            attribute(materials[i], 4, GL_UNSIGNED_BYTE, stride, material + 4 * i);
        attribute(aCorner, 2, GL_FLOAT, stride, cornered ? size : 0);
    };
    const auto done = [&] {
        for (GLuint location : {aCorner, aFrom, aDiffuse, aAmbient, aSpecular, aEmission, aTo})
            gl->glDisableVertexAttribArray(location);
    };
    if (counts[2] > 0) {
        use(*cylinders_);
        vertices(buffers_[2], true, true);
        glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(4 * counts[2]));
        done();
    }
    if (counts[3] > 0) {
        use(*lines_);
        glDisable(GL_LINE_SMOOTH);
        glLineWidth(1.0f);
        vertices(buffers_[3], true, true);
        glDrawArrays(GL_LINES, 0, static_cast<GLsizei>(2 * counts[3]));
        done();
        if (smoothLines == GL_TRUE)
            glEnable(GL_LINE_SMOOTH);
    }
    if (counts[0] > 0) {
        use(*spheres_);
        vertices(buffers_[0], false, true);
        glDrawArrays(GL_QUADS, 0, static_cast<GLsizei>(4 * counts[0]));
        done();
    }
    if (counts[1] > 0) {
        use(*points_);
        glEnable(GL_VERTEX_PROGRAM_POINT_SIZE);
        vertices(buffers_[1], false, false);
        glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(counts[1]));
        done();
        glDisable(GL_VERTEX_PROGRAM_POINT_SIZE);
    }
    gl->glBindBuffer(GL_ARRAY_BUFFER, 0);
    gl->glUseProgram(0);
    if (culling == GL_TRUE)
        glEnable(GL_CULL_FACE);
    glPopMatrix();
}

void TImpostorRenderer::DrawLinesAndPoints() {
    if (Frame().lines.empty() && Frame().wirePoints.empty())
        return;
    constexpr std::array<float, 4> black{0.0f, 0.0f, 0.0f, 0.0f};
    glDisable(GL_NORMALIZE);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black.data());
    for (const TFrameLine& line : Frame().lines) {
        glLineWidth(line.width);
        glLineStipple(1, line.pattern);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, line.diffuse.data());
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, line.ambient.data());
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, line.specular.data());
        glBegin(GL_LINES);
        glNormal3f(0.0f, 0.0f, 0.5f);
        glVertex3fv(line.from.data());
        glVertex3fv(line.to.data());
        glEnd();
    }
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black.data());
    for (const TFramePoint& point : Frame().wirePoints) {
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, point.colour.data());
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, point.colour.data());
        glPointSize(point.size);
        glBegin(GL_POINTS);
        glNormal3f(0.0f, 0.0f, 0.5f);
        glVertex3fv(point.at.data());
        glEnd();
    }
}

} // namespace ormaline
