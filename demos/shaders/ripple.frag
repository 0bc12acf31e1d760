// Second pass: the first pass's picture (iChannel0) seen through a rippling lens whose strength is
// iParams.x (a beat).
void mainImage(out vec4 fragColor, in vec2 fragCoord)
{
    vec2 uv = fragCoord / iResolution.xy;
    vec2 offset = 0.02 * (0.3 + iParams.x) * vec2(sin(uv.y * 30.0 + iTime * 3.0), cos(uv.x * 30.0 + iTime * 2.0));
    vec3 picture = texture(iChannel0, uv + offset).rgb;
    float vignette = smoothstep(1.1, 0.3, length(uv - 0.5) * 1.5);
    fragColor = vec4(picture * vignette, 1.0);
}
