/* Calls a function with pointer arguments pushed from the last to the first,
 * as a stdcall caller does, and reports how far ESP moved across the call:
 * 0 when the callee removed exactly its arguments.
 *
 * const char* CallMeasured(const void* fn, int argc, const char* const* argv, int* esp_moved)
 */
	.text
	.globl _CallMeasured
_CallMeasured:
	pushl %ebp
	movl %esp, %ebp
	pushl %esi
	pushl %edi
	pushl %ebx
	movl 12(%ebp), %ecx
	movl 16(%ebp), %edx
	movl %esp, %esi
1:	testl %ecx, %ecx
	jz 2f
	decl %ecx
	pushl (%edx,%ecx,4)
	jmp 1b
2:	call *8(%ebp)
	movl %esp, %edi
	subl %esi, %edi
	movl %esi, %esp
	movl 20(%ebp), %ecx
	movl %edi, (%ecx)
	popl %ebx
	popl %edi
	popl %esi
	popl %ebp
	ret
