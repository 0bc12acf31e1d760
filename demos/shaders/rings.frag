// First pass (into Render1): rings moving outwards from a point that circles the centre.
void mainImage(out vec4 fragColor, in vec2 fragCoord)
{
    vec2 uv = fragCoord / iResolution.xy;
    vec2 centre = vec2(0.5) + 0.25 * vec2(cos(iTime), sin(iTime * 1.3));
    float d = length((uv - centre) * vec2(iResolution.x / iResolution.y, 1.0));
    float ring = 0.5 + 0.5 * sin(d * 40.0 - iTime * 6.0);
    fragColor = vec4(ring, ring * uv.y, 1.0 - ring * uv.x, 1.0);
}
