// The export of `vantelle-blend --size first --side left --start 0 PICTURE1 PICTURE2 OUTPUT.jpg`,
// done with libvips in one process as a user of the library would write it, for bench/compare.sh:
//   bench_vips_export PICTURE1 PICTURE2 OUTPUT.jpg
// Both pictures are read with sequential access, PICTURE2 is resized to PICTURE1's size, a
// linear ramp from 0 at the left edge to 255 at the right edge becomes its alpha, it is
// composited over PICTURE1, and the result is saved as a JPEG at quality 100 without chroma
// subsampling. Nothing is held at full size: libvips pulls the rows through the pipeline.
#include <vips/vips.h>

#include <cstdio>

namespace {

// A picture as three sRGB bands, read top to bottom once; transparency laid on white as
// vantelle-blend lays it.
VipsImage* sequentialPicture(VipsObject* scope, const char* filename)
{
    VipsImage** t = reinterpret_cast<VipsImage**>(vips_object_local_array(scope, 3));
    t[0] = vips_image_new_from_file(filename, "access", VIPS_ACCESS_SEQUENTIAL, nullptr);
    if (!t[0] || vips_colourspace(t[0], &t[1], VIPS_INTERPRETATION_sRGB, nullptr))
        return nullptr;
    if (!vips_image_hasalpha(t[1]))
        return t[1];
    double white[] = {255, 255, 255};
    VipsArrayDouble* background = vips_array_double_new(white, 3);
    const int failed = vips_flatten(t[1], &t[2], "background", background, nullptr);
    vips_area_unref(VIPS_AREA(background));
    return failed ? nullptr : t[2];
}

// The picture stretched to exactly width x height with libvips's default kernel (Lanczos-3).
VipsImage* resizedTo(VipsObject* scope, VipsImage* in, int width, int height)
{
    if (in->Xsize == width && in->Ysize == height)
        return in;
    VipsImage** t = reinterpret_cast<VipsImage**>(vips_object_local_array(scope, 1));
    if (vips_resize(in, &t[0], static_cast<double>(width) / in->Xsize, "vscale",
                    static_cast<double>(height) / in->Ysize, nullptr))
        return nullptr;
    return t[0];
}

// How much of PICTURE2 shows in each column: 0 at the left edge rising evenly to 255 at the
// right edge, the same in every row.
VipsImage* horizontalRamp(VipsObject* scope, int width, int height)
{
    VipsImage** t = reinterpret_cast<VipsImage**>(vips_object_local_array(scope, 3));
    const double step = width > 1 ? 255.0 / (width - 1) : 0.0;
    if (vips_xyz(&t[0], width, height, nullptr) || vips_extract_band(t[0], &t[1], 0, nullptr) ||
        vips_linear1(t[1], &t[2], step, 0.0, "uchar", TRUE, nullptr))
        return nullptr;
    return t[2];
}

int exportBlend(VipsObject* scope, const char* first, const char* second, const char* output)
{
    VipsImage* base = sequentialPicture(scope, first);
    VipsImage* loaded = base ? sequentialPicture(scope, second) : nullptr;
    VipsImage* overlay = loaded ? resizedTo(scope, loaded, base->Xsize, base->Ysize) : nullptr;
    VipsImage* ramp = overlay ? horizontalRamp(scope, base->Xsize, base->Ysize) : nullptr;
    if (!ramp)
        return 1;
    // The composite is RGBA in float; the JPEG gets its three colour bands back in bytes.
    VipsImage** t = reinterpret_cast<VipsImage**>(vips_object_local_array(scope, 4));
    if (vips_bandjoin2(overlay, ramp, &t[0], nullptr) ||
        vips_composite2(base, t[0], &t[1], VIPS_BLEND_MODE_OVER, nullptr) ||
        vips_extract_band(t[1], &t[2], 0, "n", 3, nullptr) || vips_cast_uchar(t[2], &t[3], nullptr) ||
        vips_jpegsave(t[3], output, "Q", 100, "subsample_mode", VIPS_FOREIGN_SUBSAMPLE_OFF, nullptr))
        return 1;
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_vips_export PICTURE1 PICTURE2 OUTPUT.jpg\n");
        return 2;
    }
    if (VIPS_INIT(argv[0]))
        vips_error_exit(nullptr);
    VipsObject* scope = VIPS_OBJECT(vips_image_new());
    const int failed = exportBlend(scope, argv[1], argv[2], argv[3]);
    g_object_unref(scope);
    if (failed)
        vips_error_exit("bench_vips_export");
    vips_shutdown();
    return 0;
}
