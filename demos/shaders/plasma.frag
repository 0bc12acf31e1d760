// mainImage form: a plasma whose brightness pulses with iParams.x (a beat) and whose colours drift with
// iParams.y.
void mainImage(out vec4 fragColor, in vec2 fragCoord)
{
    vec2 uv = (2.0 * fragCoord - iResolution.xy) / iResolution.y;
    float t = iTime * 0.7;
    float v = sin(uv.x * 3.0 + t) + sin(uv.y * 4.0 - t * 1.3) + sin(length(uv * 3.0) - t * 2.0);
    vec3 colour = 0.5 + 0.5 * cos(vec3(0.0, 2.1, 4.2) + v * 1.5 + iParams.y);
    fragColor = vec4(colour * (0.6 + 0.4 * iParams.x), 1.0);
}
