sampler S = sampler_state { Texture = <t>; { nested } };
texture t : register(t0);
TEXCOORD12