// The job of `vantelle-blend --side left --start 0 PICTURE1 PICTURE2 OUTPUT`, done with libvips
// in one process as a user of the library would write it, so that bench/compare.sh and
// bench/quality.py can measure the library itself and not its command-line pipeline:
//   bench_vips_blend PICTURE1 PICTURE2 OUTPUT.jpg
// Each picture is thumbnailed to exactly 729 x 425 (shrink-on-load where the format has it),
// PICTURE2 fades in over PICTURE1 from the left edge to the right edge, and the result is saved
// as a JPEG at quality 100 without chroma subsampling.
#include <vips/vips.h>

#include <cstdio>

namespace {

constexpr int Width = 729;
constexpr int Height = 425;

// Thumbnails a picture to the canvas as three sRGB bands, transparency laid on white as
// vantelle-blend lays it.
VipsImage* canvasPicture(VipsObject* scope, const char* filename)
{
    VipsImage** t = reinterpret_cast<VipsImage**>(vips_object_local_array(scope, 3));
    if (vips_thumbnail(filename, &t[0], Width, "height", Height, "size", VIPS_SIZE_FORCE, nullptr) ||
        vips_colourspace(t[0], &t[1], VIPS_INTERPRETATION_sRGB, nullptr))
        return nullptr;
    if (!vips_image_hasalpha(t[1]))
        return t[1];
    double white[] = {255, 255, 255};
    VipsArrayDouble* background = vips_array_double_new(white, 3);
    const int failed = vips_flatten(t[1], &t[2], "background", background, nullptr);
    vips_area_unref(VIPS_AREA(background));
    return failed ? nullptr : t[2];
}

// How much of PICTURE2 shows in each column: 0 at the left edge rising evenly to 255 at the
// right edge, the same in every row.
VipsImage* horizontalRamp(VipsObject* scope)
{
    VipsImage** t = reinterpret_cast<VipsImage**>(vips_object_local_array(scope, 3));
    if (vips_xyz(&t[0], Width, Height, nullptr) || vips_extract_band(t[0], &t[1], 0, nullptr) ||
        vips_linear1(t[1], &t[2], 255.0 / (Width - 1), 0.0, "uchar", TRUE, nullptr))
        return nullptr;
    return t[2];
}

int blend(VipsObject* scope, const char* first, const char* second, const char* output)
{
    VipsImage* a = canvasPicture(scope, first);
    VipsImage* b = a ? canvasPicture(scope, second) : nullptr;
    VipsImage* ramp = b ? horizontalRamp(scope) : nullptr;
    if (!ramp)
        return 1;
    VipsImage** t = reinterpret_cast<VipsImage**>(vips_object_local_array(scope, 1));
    if (vips_ifthenelse(ramp, b, a, &t[0], "blend", TRUE, nullptr) ||
        vips_jpegsave(t[0], output, "Q", 100, "subsample_mode", VIPS_FOREIGN_SUBSAMPLE_OFF, nullptr))
        return 1;
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_vips_blend PICTURE1 PICTURE2 OUTPUT.jpg\n");
        return 2;
    }
    if (VIPS_INIT(argv[0]))
        vips_error_exit(nullptr);
    VipsObject* scope = VIPS_OBJECT(vips_image_new());
    const int failed = blend(scope, argv[1], argv[2], argv[3]);
    g_object_unref(scope);
    if (failed)
        vips_error_exit("bench_vips_blend");
    vips_shutdown();
    return 0;
}
