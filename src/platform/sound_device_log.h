/* What the native module's stand-in sound device has been asked to do, kept for the simulator
   stand-in and the tests: the device's life, each buffer with its format, volume and playing
   state, and a ring of the latest operations. Plain data only, readable from C.

   Reached through the development exports of the native module (never in the .gau):
     const K7SoundDeviceLog* k7_dev_sound_device(void);
     void k7_dev_sound_frame(double seconds);   simulated time of the frame about to run
     long k7_dev_sound_mix(const char* wav_path, double from_seconds, double to_seconds);
     void k7_dev_sound_inject(unsigned faults);  K7_SND_FAULT_* bits, 0 for none
     void k7_dev_sound_reset(void);              forget everything (buffers must be released)
     const unsigned char* k7_dev_sound_buffer_bytes(int buffer, unsigned* size);

   Printing what sounded since the last look:
     for (uint32_t s = last + 1; s <= log->op_count; ++s) {
       const K7SoundOp* op = &log->ops[(s - 1) % K7_SOUND_LOG_OPS];
       if (op->kind == K7_SOP_PLAY && !op->no_effect) printf("%s played\n", op->name);
     }
   (when op_count - last exceeds K7_SOUND_LOG_OPS the oldest of them are gone.) */
#ifndef K7_PLATFORM_SOUND_DEVICE_LOG_H
#define K7_PLATFORM_SOUND_DEVICE_LOG_H

#include <stdint.h>

#define K7_SOUND_LOG_BUFFERS 64 /* buffer records; released ones are reused when all are taken */
#define K7_SOUND_LOG_OPS     256
#define K7_SOUND_NAME_SIZE   24 /* resource name (or the tail of a file path), NUL-terminated */

enum K7SoundOpKind {
  K7_SOP_NONE = 0,
  K7_SOP_DEVICE_CREATE = 1,
  K7_SOP_DEVICE_RELEASE = 2,
  K7_SOP_BUFFER_CREATE = 3, /* value: data size */
  K7_SOP_LOCK = 4,          /* value: bytes asked for */
  K7_SOP_UNLOCK = 5,
  K7_SOP_PLAY = 6, /* value: loop flag */
  K7_SOP_STOP = 7,
  K7_SOP_VOLUME = 8, /* value: hundredths of a decibel */
  K7_SOP_RELEASE = 9,
  K7_SOP_END = 10 /* a one-shot reached the end of its data and stopped */
};

/* Faults the stand-in can be told to simulate (k7_dev_sound_inject). */
#define K7_SND_FAULT_NO_DEVICE  0x1u /* device creation fails */
#define K7_SND_FAULT_NO_BUFFER  0x2u /* buffer creation fails */
#define K7_SND_FAULT_LOCK       0x4u /* lock fails */
#define K7_SND_FAULT_SPLIT_LOCK 0x8u /* lock hands the region back in two parts */

typedef struct K7SoundBufferLog {
  char name[K7_SOUND_NAME_SIZE];
  uint16_t channels;
  uint16_t bits;
  uint32_t rate;
  uint32_t data_size;
  int32_t volume; /* hundredths of a decibel, 0 = full */
  uint8_t playing;
  uint8_t looping;
  uint8_t released;
  uint8_t filled;      /* unlocked at least once after a lock */
  uint32_t play_calls; /* every play call */
  uint32_t starts;     /* play calls that started a stopped buffer */
  double position;     /* seconds into the data */
  double started_at;   /* simulated time of the latest start */
} K7SoundBufferLog;

typedef struct K7SoundOp {
  uint32_t seq;      /* 1, 2, 3, ... over the module's life */
  uint8_t kind;      /* K7SoundOpKind */
  uint8_t no_effect; /* the call changed nothing (play while playing the same way, stop while
                        stopped, the same volume again) */
  uint8_t refused;   /* the device refused the call (bad argument, simulated fault) */
  uint8_t reserved;
  int32_t sound; /* buffer record index, -1 for device operations and refused creations */
  int32_t value;
  uint32_t frame; /* number of k7_dev_sound_frame calls so far */
  double time;    /* simulated seconds at the call */
  char name[K7_SOUND_NAME_SIZE];
} K7SoundOp;

typedef struct K7SoundDeviceLog {
  uint32_t size; /* sizeof(K7SoundDeviceLog), to check the host agrees */
  uint8_t device_alive;
  uint8_t faults; /* K7_SND_FAULT_* in force */
  uint16_t reserved;
  uint32_t device_creations;
  uint32_t device_releases;
  uint32_t buffers_created; /* over the module's life */
  uint32_t buffers_released;
  uint32_t buffer_count; /* records in use (live or released) */
  uint32_t stale_calls;  /* calls on a null or released buffer or a released device: a fault */
  K7SoundBufferLog buffers[K7_SOUND_LOG_BUFFERS];
  uint32_t op_count; /* sequence number of the latest operation */
  K7SoundOp ops[K7_SOUND_LOG_OPS];
  uint32_t frame;
  double time;
  uint32_t mix_events;  /* play/stop/volume changes kept for k7_dev_sound_mix */
  uint32_t mix_dropped; /* changes not kept because the mix record was full */
} K7SoundDeviceLog;

static inline const char* k7_sound_op_name(int kind) {
  switch (kind) {
  case K7_SOP_DEVICE_CREATE: return "device-create";
  case K7_SOP_DEVICE_RELEASE: return "device-release";
  case K7_SOP_BUFFER_CREATE: return "create";
  case K7_SOP_LOCK: return "lock";
  case K7_SOP_UNLOCK: return "unlock";
  case K7_SOP_PLAY: return "play";
  case K7_SOP_STOP: return "stop";
  case K7_SOP_VOLUME: return "volume";
  case K7_SOP_RELEASE: return "release";
  case K7_SOP_END: return "end";
  default: return "none";
  }
}

#endif
