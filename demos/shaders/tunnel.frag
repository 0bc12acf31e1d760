#version 410 core
// Live-coding form: a whole shader with its own main, fGlobalTime and v2Resolution, writing out_color.
uniform float fGlobalTime;
uniform vec2 v2Resolution;
uniform vec4 iParams;
layout(location = 0) out vec4 out_color;

void main()
{
    vec2 uv = (gl_FragCoord.xy - 0.5 * v2Resolution) / v2Resolution.y;
    float radius = length(uv);
    float angle = atan(uv.y, uv.x);
    float depth = 0.3 / max(radius, 0.001) + fGlobalTime;
    float bands = step(0.5, fract(depth * 2.0)) * 0.6 + 0.4 * step(0.5, fract(angle * 3.0 / 3.14159));
    vec3 colour = mix(vec3(0.05, 0.1, 0.3), vec3(1.0, 0.6, 0.2), bands) * min(radius * 3.0, 1.0);
    out_color = vec4(colour * (0.7 + 0.3 * iParams.x), 1.0);
}
