/* The Convert record as a C caller declares it, compiled by the C compiler. */
#include <stddef.h>
#include <stdint.h>
#include <string.h>

struct ProfileStruc {
    char name[1024];
    int32_t width;
    int32_t height;
    double videoBitrate;
    int32_t framesPerSecond;
    int32_t audioBitrate;
    int32_t stereo;
    int32_t listIndex;
    int32_t deleted;
    int32_t audioCodecIndex;
    int32_t audioFormatIndex;
    int32_t sampleRate;
};

size_t ProfileSizeSeenFromC(void) {
    return sizeof(struct ProfileStruc);
}

void FillProfileFromC(void* record) {
    struct ProfileStruc* p = (struct ProfileStruc*)record;
    memset(p, 0, sizeof *p);
    strcpy(p->name, "from C");
    p->width = 1;
    p->height = 2;
    p->videoBitrate = 3.5;
    p->framesPerSecond = 4;
    p->audioBitrate = 5;
    p->stereo = 6;
    p->listIndex = 7;
    p->deleted = 8;
    p->audioCodecIndex = 9;
    p->audioFormatIndex = 10;
    p->sampleRate = 11;
}
