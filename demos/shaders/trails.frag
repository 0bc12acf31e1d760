// ShaderPost: the scene (iChannel0) over a fading, slowly zooming copy of the previous frame (iChannel1).
void mainImage(out vec4 fragColor, in vec2 fragCoord)
{
    vec2 uv = fragCoord / iResolution.xy;
    vec2 zoomed = (uv - 0.5) * (0.985 - 0.01 * iParams.x) + 0.5;
    vec4 scene = texture(iChannel0, uv);
    vec3 trail = texture(iChannel1, zoomed).rgb * vec3(0.92, 0.88, 0.97);
    fragColor = vec4(max(scene.rgb, trail), 1.0);
}
