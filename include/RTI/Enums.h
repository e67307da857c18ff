// Enums.h: the enumerations that services and callbacks carry.
//
// The numbering is the standard API's: OrderType and TransportationType start at 1,
// every other enumeration at 0. The numbers also travel to the RTI core unchanged.
#ifndef RTI_Enums_h
#define RTI_Enums_h

namespace rti1516e {

// How callbacks are delivered: on the RTI's own threads as they arrive (HLA_IMMEDIATE),
// or only inside evokeCallback/evokeMultipleCallbacks on the federate's thread.
enum CallbackModel { HLA_IMMEDIATE, HLA_EVOKED };

enum OrderType { RECEIVE = 1, TIMESTAMP };

enum TransportationType { RELIABLE = 1, BEST_EFFORT };

// What the RTI does with a resigning federate's objects and attributes.
enum ResignAction {
  UNCONDITIONALLY_DIVEST_ATTRIBUTES,
  DELETE_OBJECTS,
  CANCEL_PENDING_OWNERSHIP_ACQUISITIONS,
  DELETE_OBJECTS_THEN_DIVEST,
  CANCEL_THEN_DELETE_THEN_DIVEST,
  NO_ACTION
};

enum ServiceGroup {
  FEDERATION_MANAGEMENT,
  DECLARATION_MANAGEMENT,
  OBJECT_MANAGEMENT,
  OWNERSHIP_MANAGEMENT,
  TIME_MANAGEMENT,
  DATA_DISTRIBUTION_MANAGEMENT,
  SUPPORT_SERVICES
};

enum SaveFailureReason {
  RTI_UNABLE_TO_SAVE,
  FEDERATE_REPORTED_FAILURE_DURING_SAVE,
  FEDERATE_RESIGNED_DURING_SAVE,
  RTI_DETECTED_FAILURE_DURING_SAVE,
  SAVE_TIME_CANNOT_BE_HONORED,
  SAVE_ABORTED
};

enum SaveStatus {
  NO_SAVE_IN_PROGRESS,
  FEDERATE_INSTRUCTED_TO_SAVE,
  FEDERATE_SAVING,
  FEDERATE_WAITING_FOR_FEDERATION_TO_SAVE
};

enum RestoreFailureReason {
  RTI_UNABLE_TO_RESTORE,
  FEDERATE_REPORTED_FAILURE_DURING_RESTORE,
  FEDERATE_RESIGNED_DURING_RESTORE,
  RTI_DETECTED_FAILURE_DURING_RESTORE,
  RESTORE_ABORTED
};

enum RestoreStatus {
  NO_RESTORE_IN_PROGRESS,
  FEDERATE_RESTORE_REQUEST_PENDING,
  FEDERATE_WAITING_FOR_RESTORE_TO_BEGIN,
  FEDERATE_PREPARED_TO_RESTORE,
  FEDERATE_RESTORING,
  FEDERATE_WAITING_FOR_FEDERATION_TO_RESTORE
};

enum SynchronizationPointFailureReason {
  SYNCHRONIZATION_POINT_LABEL_NOT_UNIQUE,
  SYNCHRONIZATION_SET_MEMBER_NOT_JOINED
};

}  // namespace rti1516e

#endif  // RTI_Enums_h
