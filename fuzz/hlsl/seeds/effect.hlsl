texture g_MeshTexture;
sampler TextureSampler = sampler_state
{
    Texture = <g_MeshTexture>;
    MipFilter = LINEAR;
};
float4 pixel_shader(float4 c : COLOR0) : COLOR0 { return c; }
