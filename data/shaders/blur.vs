#version 120
// Blur, vertex stage of both blur programs: the screen quad (unit square under an
// orthographic projection) with its texture coordinates passed through for unit 0,
// and the Gaussian's taps for the fragment stage, worked out once per vertex
// instead of once per fragment (they depend on the spread alone).
//
// blurOffset: the spread, the Gaussian's standard deviation in texels of the
// target; 0 (the value of a uniform nobody sets) or less stands for 6. Spreads
// below 0.5 count as 0.5. The centre tap, the two texels next to it, and five
// taps each side, tap k (2 to 6) merging texels 2k-2 and 2k-1, whose weighted
// mean the linear filter returns at the right point between them: no texel is
// left out or counted twice, so a thin line glows evenly wherever it lies, and
// the fragment stage reads the two neighbours unblended. Past a spread of 6 the
// merged taps are drawn apart in proportion (a thin line then falls between them
// at some distances; a 4-pixel one does not).
// The weights are a Gaussian lowered to reach 0 at CUT spreads: every spread has
// the same shape of glow, only wider or narrower (the half-size glow draws the
// full-size one's shape with half as many texels).

uniform float blurOffset;

varying float tapWeight[7];  // [0] the centre, [k] each of the two taps k
varying float tapOffset[7];  // texels from the centre, [0] = 0

const float DEFAULT_SPREAD = 6.0;
const float CUT = 2.4;  // spreads; at 5 texels the kernel's 11 texels each side and 0 at 12

void main()
{
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
    gl_TexCoord[0] = gl_MultiTexCoord0;

    float spread = blurOffset > 0.0 ? max(blurOffset, 0.5) : DEFAULT_SPREAD;
    float stretch = max(1.0, spread / DEFAULT_SPREAD);
    float falloff = -0.5 / (spread * spread);
    float floorWeight = exp(falloff * CUT * CUT * spread * spread);
    tapWeight[0] = 1.0 - floorWeight;
    tapOffset[0] = 0.0;
    tapWeight[1] = max(exp(falloff) - floorWeight, 0.0);
    tapOffset[1] = 1.0;
    float total = tapWeight[0] + 2.0 * tapWeight[1];
    for (int k = 2; k <= 6; ++k) {
        float near = float(2 * k - 2) * stretch;
        float far = float(2 * k - 1) * stretch;
        float nearWeight = max(exp(falloff * near * near) - floorWeight, 0.0);
        float farWeight = max(exp(falloff * far * far) - floorWeight, 0.0);
        tapWeight[k] = (nearWeight + farWeight) * stretch;
        // Past the cut both are 0: any offset will do.
        tapOffset[k] = (near * nearWeight + far * farWeight) / max(nearWeight + farWeight, 1e-20);
        total += 2.0 * tapWeight[k];
    }
    for (int k = 0; k <= 6; ++k)
        tapWeight[k] /= total;
}
