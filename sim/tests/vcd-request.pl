#!/usr/bin/perl
# Sends one command line to lapstone-vcd the way the program does (a length word in host byte
# order, the line and its NUL) and prints the daemon's answer word.
use strict;
use warnings;
use IO::Socket::UNIX;

my ($line) = @ARGV;
die "usage: vcd-request.pl COMMAND-LINE\n" unless defined $line;
my $socket = IO::Socket::UNIX->new(Type => SOCK_STREAM(), Peer => '/tmp/vx_vc_socket')
    or die "vcd-request: cannot connect: $!\n";
my $request = $line . "\0";
$socket->print(pack('L', length $request) . $request) or die "vcd-request: cannot send: $!\n";
my $reply = '';
while (length $reply < 4) {
    my $got = $socket->sysread($reply, 4 - length $reply, length $reply);
    die "vcd-request: no answer\n" unless $got;
}
print unpack('L', $reply), "\n";
