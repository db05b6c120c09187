#include "resample_job.h"

#include "atomic_file.h"
#include "jpeg_decoder.h"
#include "jpeg_encoder.h"
#include "lanczos_resampler.h"
#include "orientation.h"

void runResample(const ResampleArguments& request)
{
    DecodedPicture picture = decodeJpegForCopy(request.sourcePath, request.width, request.height);
    const bool swap = orientationSwapsSides(picture.orientation);
    // Resample in the stored orientation, then turn the small result upright.
    const Image resampled = resampleLanczos3(picture.image, swap ? request.height : request.width,
                                             swap ? request.width : request.height);
    picture.image = Image();
    const Image upright = applyOrientation(resampled, picture.orientation);

    AtomicFile destination(request.destinationPath);
    encodeJpeg(upright, destination.stream());
    destination.commit();
}
